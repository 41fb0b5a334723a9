// The shader back end: frames, the letterboxed picture, views, matrices, materials, patches and drawing.
#include "render/gles/gles_renderer.h"

#include <GLES3/gl3.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "core/allocate.h"
#include "core/app.h"
#include "core/error.h"
#include "platform/gl_context.h"
#include "render/gl_modes.h"
#include "render/window.h"
#include "scene/camera.h"
#include "scene/material.h"
#include "scene/math.h"
#include "scene/mesh.h"
#include "scene/texture.h"
#include "scene/view.h"

// A created patch's vertices and indices on the device.
struct GlesPatch {
  GLuint buffers[2];  // vertices, indices
};

namespace {

enum Stream : uint32_t { StreamVertices, StreamIndices };

// A draw larger than the stream buffers makes them grow; the show's draws fit these.
constexpr uint32_t kStreamStart[2] = {256u << 10, 64u << 10};

// CreatePatch's mark in the patch's first renderer word (its GlesPatch in the second); any other non-zero value
// is the character's ready PatchData.
constexpr uintptr_t kPatchCreated = 1;

using Layout = int32_t[kAttributeCount];
constexpr Layout kLitLayout = {0, 12, -1, -1, 24};  // PatchVertexLit, LitVertex and the character's vertices
constexpr Layout kColouredLayout = {0, -1, 24, 28, 32};
constexpr Layout kScreenLayout = {0, -1, 16, 20, 24};
static_assert(offsetof(PatchVertexLit, normal) == 12 && offsetof(PatchVertexLit, u) == 24);
static_assert(offsetof(LitVertex, nx) == 12 && offsetof(LitVertex, tu1) == 24);
static_assert(offsetof(PatchVertexColoured, diffuse) == 24 && offsetof(PatchVertexColoured, u) == 32);
static_assert(offsetof(ScreenVertex, diffuse) == 16 && offsetof(ScreenVertex, specular) == 20 &&
              offsetof(ScreenVertex, tu1) == 24);

}  // namespace

GLESRenderer::~GLESRenderer() {
  if (initialised_) Shutdown();
}

Renderer* NewGLESRenderer() { return new GLESRenderer; }

// As the OpenGL back end: the desktop's video mode is never changed and the depth buffer is the context's.
bool GLESRenderer::Init(int32_t width, int32_t height, int32_t, int32_t, bool fullscreen, void* instance,
                        bool filtering) {
  AppInstance = instance;
  GlContext_PrepareWindow(GlProfile::Es3);
  CreateMainWindow(width, height, fullscreen);
  if (!MainWindow) {
    ReportError("Could not open the window for OpenGL ES", false);
    return false;
  }
  context_ = GlContext_Create(MainWindow);
  if (!context_) {
    ReportError("Could not create the OpenGL ES 3.0 context", false);
    return false;
  }
  if (!programs_.Build()) {
    Shutdown();
    return false;
  }
  pictureWidth_ = width;
  pictureHeight_ = height;
  filtering_ = filtering;
  viewport_ = {0, 0, static_cast<uint32_t>(width), static_cast<uint32_t>(height), 0.0f, 1.0f};
  drawableWidth_ = drawableHeight_ = -1;
  SetDefaultStates();
  FollowDrawable();
  ClearBars();
  initialised_ = true;
  return true;
}

// The Direct3D 7 back end's default states, which the scenes were made with.
void GLESRenderer::SetDefaultStates() {
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDepthMask(GL_TRUE);
  // The triangles that appear clockwise on the screen are the ones culled.
  glEnable(GL_CULL_FACE);
  glFrontFace(GL_CCW);
  glCullFace(GL_BACK);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glEnable(GL_SCISSOR_TEST);

  glGenFramebuffers(1, &copyFramebuffer_);
  glGenVertexArrays(1, &vertexArray_);
  glBindVertexArray(vertexArray_);
  glGenBuffers(2, streamBuffers_);
  for (uint32_t i : {StreamVertices, StreamIndices}) {
    const GLenum target = i == StreamVertices ? GL_ARRAY_BUFFER : GL_ELEMENT_ARRAY_BUFFER;
    glBindBuffer(target, streamBuffers_[i]);
    streamSizes_[i] = kStreamStart[i];
    streamUsed_[i] = 0;
    glBufferData(target, streamSizes_[i], nullptr, GL_STREAM_DRAW);
  }
  // What a vertex without colours is drawn with when lighting is off: white, no specular.
  glVertexAttrib4f(AttributeDiffuse, 1.0f, 1.0f, 1.0f, 1.0f);
  glVertexAttrib4f(AttributeSpecular, 0.0f, 0.0f, 0.0f, 0.0f);
  glVertexAttrib4f(AttributeNormal, 0.0f, 0.0f, 0.0f, 0.0f);
  glVertexAttrib4f(AttributeTexCoord, 0.0f, 0.0f, 0.0f, 0.0f);

  state_ = {};
  state_.fog[0] = 1.0f;
  for (float* m : {state_.world, state_.view}) {
    m[0] = m[5] = m[10] = m[15] = 1.0f;
  }
  state_.normalMatrix[0] = state_.normalMatrix[4] = state_.normalMatrix[8] = 1.0f;
  lighting_ = true;
}

bool GLESRenderer::Shutdown() {
  if (context_) {
    programs_.Release();
    glDeleteBuffers(2, streamBuffers_);
    glDeleteVertexArrays(1, &vertexArray_);
    glDeleteFramebuffers(1, &copyFramebuffer_);
    GlContext_Destroy(context_);
  }
  context_ = nullptr;
  vertexArray_ = copyFramebuffer_ = 0;
  std::fill(std::begin(streamBuffers_), std::end(streamBuffers_), 0u);
  currentMaterial_ = nullptr;
  std::fill(std::begin(boundTextures_), std::end(boundTextures_), nullptr);
  renderTarget_ = nullptr;
  initialised_ = false;
  lights_.Clear();
  lightsChanged_ = true;
  return true;
}

// The picture keeps its aspect in whatever drawable the window has now.
void GLESRenderer::FollowDrawable() {
  int32_t width = 0, height = 0;
  GlContext_DrawableSize(context_, &width, &height);
  if (width == drawableWidth_ && height == drawableHeight_) return;
  drawableWidth_ = width;
  drawableHeight_ = height;
  picture_ = Letterbox(width, height, pictureWidth_, pictureHeight_);
  if (renderTarget_) return;
  BindDrawTarget();
  ApplyViewport();
}

// The View's rectangle is in picture pixels, top row 0; GL counts rows from the bottom, except in a texture
// drawn into, whose rows go top first.
void GLESRenderer::ApplyViewport() {
  if (!context_) return;
  glDepthRangef(viewport_.minZ, viewport_.maxZ);
  if (renderTarget_) {
    viewportPixels_[0] = static_cast<int32_t>(viewport_.width);
    viewportPixels_[1] = static_cast<int32_t>(viewport_.height);
    glViewport(static_cast<GLint>(viewport_.x), static_cast<GLint>(viewport_.y), viewportPixels_[0],
               viewportPixels_[1]);
    return;
  }
  const PixelRect r = ViewportInPicture(picture_, pictureWidth_, pictureHeight_, viewport_);
  viewportPixels_[0] = r.width;
  viewportPixels_[1] = r.height;
  glViewport(r.x, drawableHeight_ - r.y - r.height, r.width, r.height);
}

// The bars around the picture are never drawn into; each new back buffer gets them black before it is drawn
// into. Not at once after the swap: a page shows the buffer only when the program yields, after Present.
void GLESRenderer::ClearBars() {
  barsStale_ = false;
  bool bars = picture_.width < drawableWidth_ || picture_.height < drawableHeight_;
  if (!bars || renderTarget_) return;
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
}

int32_t GLESRenderer::Present(uint32_t) {
  glFlush();
  if (context_) {
    GlContext_Swap(context_);
    FollowDrawable();
    barsStale_ = true;
  }
  return 0;
}

int32_t GLESRenderer::Clear(uint32_t flags, uint32_t colour, float depth) {
  if (barsStale_) ClearBars();
  float c[4];
  ColourToFloats({static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8), static_cast<uint8_t>(colour >> 16),
                  static_cast<uint8_t>(colour >> 24)},
                 c);
  GLbitfield mask = 0;
  if (flags & ClearColor) {
    glClearColor(c[0], c[1], c[2], c[3]);
    mask |= GL_COLOR_BUFFER_BIT;
  }
  if (flags & ClearDepth) {
    glClearDepthf(depth);
    mask |= GL_DEPTH_BUFFER_BIT;
  }
  // Clearing writes depth only where writes are on: the reference clears it whatever the depth state.
  if (mask & GL_DEPTH_BUFFER_BIT) glDepthMask(GL_TRUE);
  if (mask) glClear(mask);
  if (mask & GL_DEPTH_BUFFER_BIT) glDepthMask(depthWrite_ ? GL_TRUE : GL_FALSE);
  return 0;
}

// Rows are read one at a time through a buffer kept for it: GL hands them bottom first and as RGBA.
void GLESRenderer::ReadPixels(PixelRect area, uint8_t* rgb) {
  if (area.width <= 0 || area.height <= 0) return;
  readRow_.resize(static_cast<size_t>(area.width) * 4);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  for (int32_t row = 0; row < area.height; ++row) {
    glReadPixels(area.x, drawableHeight_ - area.y - 1 - row, area.width, 1, GL_RGBA, GL_UNSIGNED_BYTE, readRow_.data());
    uint8_t* out = rgb + static_cast<size_t>(row) * area.width * 3;
    for (int32_t x = 0; x < area.width; ++x) std::memcpy(out + 3 * x, &readRow_[4 * static_cast<size_t>(x)], 3);
  }
  BindDrawTarget();
}

void GLESRenderer::CreateView(View* view) { CreateViewportData(view); }

void GLESRenderer::UpdateView(View* view) {
  if (view->viewport) FillViewportData(*view, *view->viewport);
}

void GLESRenderer::ReleaseView(View* view) { ReleaseViewportData(view); }

void GLESRenderer::SetViewport(View* view) {
  if (!view->viewport) return;
  viewport_ = *view->viewport;
  ApplyViewport();
}

void GLESRenderer::SetProjection(View* view) {
  Camera* camera = view->camera;
  if (!camera) return;
  GlProjection(*view, viewportPixels_, state_.projection);
  ForceAffineColumn(camera->viewMatrix);
  std::memcpy(state_.view, camera->viewMatrix, sizeof state_.view);
  const Vec3 eye = Lighting_EyeOf(state_.view);
  state_.eye[0] = eye.x;
  state_.eye[1] = eye.y;
  state_.eye[2] = eye.z;
  state_.Changed(GroupTransform);
}

void GLESRenderer::SetWorldMatrix(float* matrix) {
  ForceAffineColumn(matrix);
  std::memcpy(state_.world, matrix, sizeof state_.world);
  Lighting_NormalMatrix(state_.world, state_.normalMatrix);
  state_.Changed(GroupTransform);
}

void GLESRenderer::BeginView(View* view) {
  CurrentView = view;
  view->Apply();
}

void GLESRenderer::EndView() { CurrentView = nullptr; }

// Screen pixels are sampled where the device samples them, as 3D ones are.
void GLESRenderer::Begin2D(View* view) {
  CurrentView = view;
  const float width = view->right - view->left, height = view->bottom - view->top;
  float dx = 0.0f, dy = 0.0f;
  if (viewportPixels_[0] > 0 && viewportPixels_[1] > 0) {
    dx = kDeviceSampleShift * width / static_cast<float>(viewportPixels_[0]);
    dy = kDeviceSampleShift * height / static_cast<float>(viewportPixels_[1]);
  }
  state_.screen[0] = view->left - dx;
  state_.screen[1] = view->top - dy;
  state_.screen[2] = width != 0.0f ? 2.0f / width : 0.0f;
  state_.screen[3] = height != 0.0f ? 2.0f / height : 0.0f;
  state_.Changed(GroupTransform);
}

void GLESRenderer::End2D() { CurrentView = nullptr; }

void GLESRenderer::CreateMaterial(Material* material) {
  if (CreateMaterialData(material)) UpdateMaterial(material);
}

// The reference's material: the specular colour times the specular level, power 0.
void GLESRenderer::UpdateMaterial(Material* material) {
  if (material->rendererData) FillMaterialData(*material, *material->rendererData);
}

// A later Material at the same address must not pass for the current one.
void GLESRenderer::ReleaseMaterial(Material* material) {
  if (material == currentMaterial_) currentMaterial_ = nullptr;
  ReleaseMaterialData(material);
}

void GLESRenderer::SetMaterial(Material* material) {
  if (material == currentMaterial_) return;
  currentMaterial_ = material;
  if (!material) return;
  if (const MaterialData* data = material->rendererData) {
    std::memcpy(state_.material[0], data->diffuse, sizeof data->diffuse);
    std::memcpy(state_.material[1], data->ambient, sizeof data->ambient);
    std::memcpy(state_.material[2], data->specular, sizeof data->specular);
    std::memcpy(state_.material[3], data->emissive, sizeof data->emissive);
    state_.power = data->power;
    state_.Changed(GroupMaterial);
  }
  SetBlendMode(material->mode);
  if (material->textureCount == 0) {
    UnbindStage(0);
    return;
  }
  const uint32_t count = std::min(material->textureCount, kMaterialStages);
  // An empty second stage leaves the first one's texture in place.
  for (uint32_t stage = 0; stage < count; ++stage) {
    if (Texture* texture = material->textures[stage]) {
      texture->Bind();
    } else if (stage == 0) {
      UnbindStage(0);
    }
  }
}

// Stage 0 and blending by the material's mode; a mode above 4 leaves the previous material's states in force,
// and modes 0 to 2 leave the alpha source as it was.
void GLESRenderer::SetBlendMode(uint32_t mode) {
  int32_t* stage = state_.stage;
  switch (mode) {
    case 0:  // opaque: texture times the lit or vertex colour
      stage[1] = 0;
      glDisable(GL_BLEND);
      break;
    case 1:
    case 2:  // additive
      stage[1] = 0;
      glBlendFunc(GL_ONE, GL_ONE);
      glEnable(GL_BLEND);
      break;
    case 3:  // the texture's colour and alpha
    case 4:  // the texture's colour with the vertex alpha
      stage[1] = 1;
      stage[2] = mode == 3 ? 1 : 0;
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      glEnable(GL_BLEND);
      break;
    default:
      return;
  }
  state_.Changed(GroupSurface);
}

int32_t GLESRenderer::SetFog(bool enable, float start, float end, float, uint32_t colour) {
  float c[4];
  ColourToFloats(
      {static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8), static_cast<uint8_t>(colour >> 16), 0}, c);
  state_.fogColour[0] = c[0];
  state_.fogColour[1] = c[1];
  state_.fogColour[2] = c[2];
  state_.fogColour[3] = enable ? 1.0f : 0.0f;
  state_.fog[0] = end;
  state_.fog[1] = end != start ? 1.0f / (end - start) : 0.0f;
  state_.Changed(GroupSurface);
  return 0;
}

int32_t GLESRenderer::SetDepthState(bool write, bool test) {
  depthWrite_ = write;
  glDepthMask(write ? GL_TRUE : GL_FALSE);
  if (test) {
    glEnable(GL_DEPTH_TEST);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
  return 0;
}

// The window's back buffer is 32-bit without alpha bits: red, green and blue in the low three bytes.
uint32_t GLESRenderer::MakeColor(uint32_t red, uint32_t green, uint32_t blue, uint32_t) {
  return (red & 0xFF) << 16 | (green & 0xFF) << 8 | (blue & 0xFF);
}

// Patches go to the device once, each in buffers of its own; one whose indices would reach past its vertices is
// never drawn. Any kind but lit and coloured ends the show, as in the reference.
void GLESRenderer::CreatePatch(Patch* patch) {
  patch->rendererWords[0] = patch->rendererWords[1] = 0;
  const uint32_t vertexSize = PatchVertexSize(patch->kind);
  if (vertexSize == 0) {
    ReportError("Uknown patch type", true);
    return;
  }
  if (!patch->vertices || !IndicesBelow(patch->indices, patch->indexCount, patch->vertexCount)) return;
  auto* data = static_cast<GlesPatch*>(Allocate(sizeof(GlesPatch), "Api Patch"));
  if (!data) return;
  glGenBuffers(2, data->buffers);
  glBindBuffer(GL_ARRAY_BUFFER, data->buffers[0]);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(size_t{patch->vertexCount} * vertexSize), patch->vertices,
               GL_STATIC_DRAW);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, data->buffers[1]);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(size_t{patch->indexCount} * sizeof(uint16_t)),
               patch->indices, GL_STATIC_DRAW);
  patch->rendererWords[0] = kPatchCreated;
  patch->rendererWords[1] = reinterpret_cast<uintptr_t>(data);
}

void GLESRenderer::ReleasePatch(Patch* patch) {
  if (patch->rendererWords[0] == kPatchCreated) {
    auto* data = reinterpret_cast<GlesPatch*>(patch->rendererWords[1]);
    glDeleteBuffers(2, data->buffers);
    Release(data);
  }
  patch->rendererWords[0] = patch->rendererWords[1] = 0;
}

// Copies bytes after the ones already streamed this buffer's life; a full buffer gets a new store (the draws
// still reading the old one keep it), larger when the bytes need it.
uint32_t GLESRenderer::StreamBytes(uint32_t which, const void* data, uint32_t bytes) {
  const GLenum target = which == StreamVertices ? GL_ARRAY_BUFFER : GL_ELEMENT_ARRAY_BUFFER;
  glBindBuffer(target, streamBuffers_[which]);
  uint32_t offset = (streamUsed_[which] + 3u) & ~3u;
  if (bytes > streamSizes_[which] - std::min(offset, streamSizes_[which])) {
    while (streamSizes_[which] < bytes) streamSizes_[which] *= 2;
    glBufferData(target, streamSizes_[which], nullptr, GL_STREAM_DRAW);
    offset = 0;
  }
  glBufferSubData(target, offset, bytes, data);
  streamUsed_[which] = offset + bytes;
  return offset;
}

// Draws count vertices, or count indices from byte indexOffset of the bound index buffer.
void GLESRenderer::Draw(ProgramKind program, const VertexLayout& layout, uint32_t mode, uint32_t count, bool indexed,
                        uint32_t indexOffset) {
  if (program == ProgramLit && lightsChanged_) SendLights();
  programs_.Use(program, state_);
  glBindBuffer(GL_ARRAY_BUFFER, layout.buffer);
  for (uint32_t a = 0; a < kAttributeCount; ++a) {
    const int32_t offset = layout.offsets[a];
    if (offset < 0) {
      glDisableVertexAttribArray(a);
      continue;
    }
    const auto* pointer = reinterpret_cast<const void*>(uintptr_t{layout.base} + static_cast<uint32_t>(offset));
    const auto stride = static_cast<GLsizei>(layout.stride);
    glEnableVertexAttribArray(a);
    if (a == AttributeDiffuse || a == AttributeSpecular) {
      glVertexAttribPointer(a, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, pointer);
    } else {
      const GLint size = a == AttributePosition ? layout.positionSize : a == AttributeNormal ? 3 : 2;
      glVertexAttribPointer(a, size, GL_FLOAT, GL_FALSE, stride, pointer);
    }
  }
  if (indexed) {
    glDrawElements(mode, static_cast<GLsizei>(count), GL_UNSIGNED_SHORT,
                   reinterpret_cast<const void*>(uintptr_t{indexOffset}));
  } else {
    glDrawArrays(mode, 0, static_cast<GLsizei>(count));
  }
}

GLESRenderer::VertexLayout GLESRenderer::MakeLayout(const int32_t (&offsets)[kAttributeCount], uint32_t buffer,
                                                    uint32_t base, uint32_t stride, int32_t positionSize) {
  VertexLayout layout = {buffer, base, stride, {}, positionSize};
  std::copy(std::begin(offsets), std::end(offsets), layout.offsets);
  return layout;
}

// Lit patches are drawn with lighting; coloured ones without, and lighting stays off until the next lit patch,
// as in the reference. The character's ready PatchData is streamed, since its vertices change every frame.
int32_t GLESRenderer::DrawPatch(Patch* patch) {
  const uintptr_t word = patch->rendererWords[0];
  if (word == 0) return 0;
  lighting_ = patch->kind == PatchLit;
  if (word == kPatchCreated) {
    const auto* data = reinterpret_cast<const GlesPatch*>(patch->rendererWords[1]);
    const VertexLayout layout = lighting_
                                    ? MakeLayout(kLitLayout, data->buffers[0], 0, sizeof(PatchVertexLit), 3)
                                    : MakeLayout(kColouredLayout, data->buffers[0], 0, sizeof(PatchVertexColoured), 3);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, data->buffers[1]);
    Draw(lighting_ ? ProgramLit : ProgramUnlit, layout, GL_TRIANGLES, patch->indexCount, true, 0);
    return 0;
  }
  const PatchData& data = *reinterpret_cast<const PatchData*>(word);
  if (!IsDrawableLitPatchData(data)) return 0;
  const uint32_t base = StreamBytes(StreamVertices, data.vertices, data.vertexCount * data.stride);
  const uint32_t indices = StreamBytes(StreamIndices, data.indices, data.indexCount * sizeof(uint16_t));
  Draw(lighting_ ? ProgramLit : ProgramUnlit,
       MakeLayout(kLitLayout, streamBuffers_[StreamVertices], base, data.stride, 3), GL_TRIANGLES, data.indexCount,
       true, indices);
  return 0;
}

// Lit vertices take the light while lighting is on, and are white without it.
int32_t GLESRenderer::DrawPrimitive(PrimitiveKind kind, LitVertex* vertices, uint32_t count, Material* material) {
  if (material != currentMaterial_) SetMaterial(material);
  uint32_t mode;
  if (!GlPrimitiveMode(kind, &mode) || count == 0 || !vertices) return 0;
  const uint32_t base = StreamBytes(StreamVertices, vertices, count * sizeof(LitVertex));
  Draw(lighting_ ? ProgramLit : ProgramUnlit,
       MakeLayout(kLitLayout, streamBuffers_[StreamVertices], base, sizeof(LitVertex), 3), mode, count, false, 0);
  return 0;
}

int32_t GLESRenderer::DrawScreen(PrimitiveKind kind, const ScreenVertex* vertices, uint32_t count) {
  uint32_t mode;
  if (!GlPrimitiveMode(kind, &mode) || count == 0 || !vertices) return 0;
  const uint32_t base = StreamBytes(StreamVertices, vertices, count * sizeof(ScreenVertex));
  Draw(ProgramScreen, MakeLayout(kScreenLayout, streamBuffers_[StreamVertices], base, sizeof(ScreenVertex), 4), mode,
       count, false, 0);
  return 0;
}

int32_t GLESRenderer::Draw2D(PrimitiveKind kind, ScreenVertex* vertices, uint32_t count, Material* material) {
  if (material != currentMaterial_) SetMaterial(material);
  return DrawScreen(kind, vertices, count);
}

// The material stays as it is.
int32_t GLESRenderer::DrawTextured2D(PrimitiveKind kind, ScreenVertex* vertices, uint32_t count, Texture* texture) {
  if (texture) texture->Bind();
  return DrawScreen(kind, vertices, count);
}
