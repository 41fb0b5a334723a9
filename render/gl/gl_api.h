// The OpenGL entry points the back end calls, gathered in one table so that tests can record them.
#pragma once

#define GL_GLEXT_PROTOTYPES  // glSecondaryColorPointer, which libGL exports
#include <GL/gl.h>

// Values from GL 1.2 and 1.3 (and their extensions) that the 1.1 header lacks.
constexpr GLenum GlTextureMaxLevel = 0x813D;
constexpr GLenum GlLightModelColorControl = 0x81F8;
constexpr GLenum GlSeparateSpecularColor = 0x81FA;
constexpr GLenum GlCombine = 0x8570;
constexpr GLenum GlCombineRgb = 0x8571;
constexpr GLenum GlCombineAlpha = 0x8572;
constexpr GLenum GlSource0Rgb = 0x8580;
constexpr GLenum GlSource0Alpha = 0x8588;
constexpr GLenum GlPrimaryColor = 0x8577;
constexpr GLenum GlColorSum = 0x8458;
constexpr GLenum GlSecondaryColorArray = 0x845E;

// X(return type, name without the gl prefix, parameter types...) for every entry point: GL 1.1 and the secondary
// colour array of GL 1.4, which carries the specular colour added after texturing.
#define QZ2_GL_ENTRY_POINTS(X)                                                                      \
  X(void, Begin, GLenum)                                                                            \
  X(void, BindTexture, GLenum, GLuint)                                                              \
  X(void, BlendFunc, GLenum, GLenum)                                                                \
  X(void, Clear, GLbitfield)                                                                        \
  X(void, ClearColor, GLclampf, GLclampf, GLclampf, GLclampf)                                       \
  X(void, ClearDepth, GLclampd)                                                                     \
  X(void, Color4ub, GLubyte, GLubyte, GLubyte, GLubyte)                                             \
  X(void, ColorPointer, GLint, GLenum, GLsizei, const GLvoid*)                                      \
  X(void, CullFace, GLenum)                                                                         \
  X(void, DeleteTextures, GLsizei, const GLuint*)                                                   \
  X(void, DepthFunc, GLenum)                                                                        \
  X(void, DepthMask, GLboolean)                                                                     \
  X(void, DepthRange, GLclampd, GLclampd)                                                           \
  X(void, Disable, GLenum)                                                                          \
  X(void, DisableClientState, GLenum)                                                               \
  X(void, DrawArrays, GLenum, GLint, GLsizei)                                                       \
  X(void, DrawElements, GLenum, GLsizei, GLenum, const GLvoid*)                                     \
  X(void, Enable, GLenum)                                                                           \
  X(void, EnableClientState, GLenum)                                                                \
  X(void, End)                                                                                      \
  X(void, Flush)                                                                                    \
  X(void, Fogf, GLenum, GLfloat)                                                                    \
  X(void, Fogfv, GLenum, const GLfloat*)                                                            \
  X(void, Fogi, GLenum, GLint)                                                                      \
  X(void, FrontFace, GLenum)                                                                        \
  X(void, GenTextures, GLsizei, GLuint*)                                                            \
  X(void, Hint, GLenum, GLenum)                                                                     \
  X(void, LoadIdentity)                                                                             \
  X(void, LoadMatrixf, const GLfloat*)                                                              \
  X(void, MatrixMode, GLenum)                                                                       \
  X(void, MultMatrixf, const GLfloat*)                                                              \
  X(void, Ortho, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble)                        \
  X(void, PixelStorei, GLenum, GLint)                                                               \
  X(void, PopMatrix)                                                                                \
  X(void, PushMatrix)                                                                               \
  X(void, ReadBuffer, GLenum)                                                                       \
  X(void, ReadPixels, GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, GLvoid*)                      \
  X(void, Scissor, GLint, GLint, GLsizei, GLsizei)                                                  \
  X(void, SecondaryColorPointer, GLint, GLenum, GLsizei, const GLvoid*)                             \
  X(void, TexCoord2f, GLfloat, GLfloat)                                                             \
  X(void, TexCoordPointer, GLint, GLenum, GLsizei, const GLvoid*)                                   \
  X(void, TexEnvi, GLenum, GLenum, GLint)                                                           \
  X(void, TexImage2D, GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const GLvoid*) \
  X(void, TexParameteri, GLenum, GLenum, GLint)                                                     \
  X(void, Vertex3f, GLfloat, GLfloat, GLfloat)                                                      \
  X(void, VertexPointer, GLint, GLenum, GLsizei, const GLvoid*)                                     \
  X(void, Viewport, GLint, GLint, GLsizei, GLsizei)

struct GlApi {
#define QZ2_GL_MEMBER(ret, name, ...) ret(APIENTRY* name)(__VA_ARGS__);
  QZ2_GL_ENTRY_POINTS(QZ2_GL_MEMBER)
#undef QZ2_GL_MEMBER
};

// The entry points of the system's GL library.
const GlApi& SystemGl();
