// The OpenGL back end: frames, the letterboxed picture, views, matrices, materials and drawing.
#include "render/gl/gl_renderer.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <utility>

#include "core/allocate.h"
#include "core/app.h"
#include "core/error.h"
#include "platform/gl_context.h"
#include "render/gl/gl_api.h"
#include "render/gl_modes.h"
#include "render/window.h"
#include "scene/camera.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "scene/texture.h"
#include "scene/view.h"

namespace {

// A 0xAARRGGBB word is the record colour's bytes read little-endian.
void ColourWordToFloats(uint32_t argb, float out[4]) {
  Colour colour = {static_cast<uint8_t>(argb), static_cast<uint8_t>(argb >> 8), static_cast<uint8_t>(argb >> 16),
                   static_cast<uint8_t>(argb >> 24)};
  ColourToFloats(colour, out);
}

void ColourVertex(const GlApi& gl, uint32_t argb) {
  gl.Color4ub(static_cast<GLubyte>(argb >> 16), static_cast<GLubyte>(argb >> 8), static_cast<GLubyte>(argb),
              static_cast<GLubyte>(argb >> 24));
}

// CreatePatch's mark in the patch's first renderer word; any other non-zero value is the
// character's ready PatchData.
constexpr uintptr_t kPatchCreated = 1;

constexpr uint32_t kLitStride = sizeof(PatchVertexLit);

}  // namespace

GLRenderer::GLRenderer(const GlApi& gl) : gl_(gl) {}

GLRenderer::~GLRenderer() {
  if (initialised_) Shutdown();
}

Renderer* NewGLRenderer() { return new GLRenderer(SystemGl()); }

bool GLRenderer::IsReady() { return true; }

// The desktop's video mode is never changed: full screen is a desktop-sized window showing the
// picture letterboxed, so bitsPerPixel has no use, and the depth buffer is the context's.
bool GLRenderer::Init(int32_t width, int32_t height, int32_t, int32_t, bool fullscreen, void* instance,
                      bool filtering) {
  AppInstance = instance;
  GlContext_PrepareWindow(GlProfile::Compatibility);
  CreateMainWindow(width, height, fullscreen);
  if (!MainWindow) {
    ReportError("Could not open the window for OpenGL", false);
    return false;
  }
  context_ = GlContext_Create(MainWindow);
  if (!context_) {
    ReportError("Could not create the OpenGL context", false);
    return false;
  }
  colours_ = static_cast<LitColours*>(Allocate(sizeof(LitColours) * kGlMaxVertices, "OGLColours"));
  if (!colours_) {
    ReportError("Could not allocate the vertex colours", false);
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
void GLRenderer::SetDefaultStates() {
  gl_.Enable(GL_DEPTH_TEST);
  gl_.DepthFunc(GL_LEQUAL);
  gl_.DepthMask(GL_TRUE);
  // Both back ends show the same picture, so the triangles that appear clockwise on the screen
  // are the ones culled.
  gl_.Enable(GL_CULL_FACE);
  gl_.FrontFace(GL_CCW);
  gl_.CullFace(GL_BACK);
  // Vertices come lit: GL only modulates the texture by the diffuse colour and adds the specular one.
  gl_.Disable(GL_LIGHTING);
  gl_.Hint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  gl_.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gl_.PixelStorei(GL_PACK_ALIGNMENT, 1);
  gl_.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  gl_.Enable(GL_SCISSOR_TEST);
}

bool GLRenderer::Shutdown() {
  Release(colours_);
  colours_ = nullptr;
  if (context_) GlContext_Destroy(context_);
  context_ = nullptr;
  currentMaterial_ = nullptr;
  initialised_ = false;
  lights_.Clear();
  return true;
}

// The picture keeps its aspect in whatever drawable the window has now.
void GLRenderer::FollowDrawable() {
  int32_t width = 0, height = 0;
  GlContext_DrawableSize(context_, &width, &height);
  if (width == drawableWidth_ && height == drawableHeight_) return;
  drawableWidth_ = width;
  drawableHeight_ = height;
  picture_ = Letterbox(width, height, pictureWidth_, pictureHeight_);
  gl_.Scissor(picture_.x, drawableHeight_ - picture_.y - picture_.height, picture_.width, picture_.height);
  ApplyViewport();
}

// The View's rectangle is in picture pixels, top row 0; GL counts rows from the bottom.
void GLRenderer::ApplyViewport() {
  if (!context_) return;
  const PixelRect r = ViewportInPicture(picture_, pictureWidth_, pictureHeight_, viewport_);
  gl_.Viewport(r.x, drawableHeight_ - r.y - r.height, r.width, r.height);
  viewportPixels_[0] = r.width;
  viewportPixels_[1] = r.height;
  gl_.DepthRange(viewport_.minZ, viewport_.maxZ);
}

// The bars around the picture are never drawn into; each new back buffer gets them black.
void GLRenderer::ClearBars() {
  bool bars = picture_.width < drawableWidth_ || picture_.height < drawableHeight_;
  if (!bars) return;
  gl_.Disable(GL_SCISSOR_TEST);
  gl_.ClearColor(0, 0, 0, 0);
  gl_.Clear(GL_COLOR_BUFFER_BIT);
  gl_.Enable(GL_SCISSOR_TEST);
}

int32_t GLRenderer::Present(uint32_t) {
  gl_.Flush();
  if (context_) {
    GlContext_Swap(context_);
    FollowDrawable();
    ClearBars();
  }
  return 0;
}

int32_t GLRenderer::Clear(uint32_t flags, uint32_t colour, float depth) {
  float c[4];
  ColourWordToFloats(colour, c);
  if ((flags & ClearColor) && (flags & ClearDepth)) {
    gl_.ClearColor(c[0], c[1], c[2], c[3]);
    gl_.ClearDepth(depth);
    gl_.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return 0;
  }
  if (flags & ClearColor) {
    gl_.ClearColor(c[0], c[1], c[2], c[3]);
    gl_.Clear(GL_COLOR_BUFFER_BIT);
  }
  if (flags & ClearDepth) {
    gl_.ClearDepth(depth);
    gl_.Clear(GL_DEPTH_BUFFER_BIT);
  }
  return 0;
}

void GLRenderer::ReadPixels(PixelRect area, uint8_t* rgb) {
  gl_.ReadBuffer(GL_BACK);
  gl_.ReadPixels(area.x, drawableHeight_ - area.y - area.height, area.width, area.height, GL_RGB, GL_UNSIGNED_BYTE,
                 rgb);
  // GL hands the bottom row first.
  size_t rowBytes = static_cast<size_t>(area.width) * 3;
  for (int32_t top = 0, bottom = area.height - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(rgb + rowBytes * top, rgb + rowBytes * (top + 1), rgb + rowBytes * bottom);
  }
}

void GLRenderer::CreateView(View* view) { CreateViewportData(view); }

void GLRenderer::UpdateView(View* view) {
  if (view->viewport) FillViewportData(*view, *view->viewport);
}

void GLRenderer::ReleaseView(View* view) { ReleaseViewportData(view); }

void GLRenderer::SetViewport(View* view) {
  if (!view->viewport) return;
  viewport_ = *view->viewport;
  ApplyViewport();
}

void GLRenderer::SetProjection(View* view) {
  Camera* camera = view->camera;
  if (!camera) return;
  float m[16];
  GlProjection(*view, viewportPixels_, m);
  gl_.MatrixMode(GL_PROJECTION);
  gl_.LoadMatrixf(m);
  ForceAffineColumn(camera->viewMatrix);
  std::memcpy(viewMatrix_, camera->viewMatrix, sizeof viewMatrix_);
  gl_.MatrixMode(GL_MODELVIEW);
  gl_.LoadMatrixf(viewMatrix_);
  eye_ = Lighting_EyeOf(viewMatrix_);
}

void GLRenderer::SetWorldMatrix(float* matrix) {
  ForceAffineColumn(matrix);
  std::memcpy(worldMatrix_, matrix, sizeof worldMatrix_);
  gl_.MatrixMode(GL_MODELVIEW);
  gl_.LoadMatrixf(viewMatrix_);
  gl_.MultMatrixf(matrix);
}

void GLRenderer::BeginView(View* view) {
  CurrentView = view;
  view->Apply();
}

void GLRenderer::EndView() { CurrentView = nullptr; }

// ScreenVertex z runs from 0 near to 1 far, as the depth buffer does.
void GLRenderer::Begin2D(View* view) {
  CurrentView = view;
  gl_.MatrixMode(GL_PROJECTION);
  gl_.PushMatrix();
  gl_.LoadIdentity();
  double dx = 0, dy = 0;
  if (viewportPixels_[0] > 0 && viewportPixels_[1] > 0) {
    dx = kDeviceSampleShift * (static_cast<double>(view->right) - view->left) / viewportPixels_[0];
    dy = kDeviceSampleShift * (static_cast<double>(view->bottom) - view->top) / viewportPixels_[1];
  }
  gl_.Ortho(view->left - dx, view->right - dx, view->bottom - dy, view->top - dy, 0.0, -1.0);
  gl_.MatrixMode(GL_MODELVIEW);
  gl_.PushMatrix();
  gl_.LoadIdentity();
}

void GLRenderer::End2D() {
  gl_.MatrixMode(GL_PROJECTION);
  gl_.PopMatrix();
  gl_.MatrixMode(GL_MODELVIEW);
  gl_.PopMatrix();
  CurrentView = nullptr;
}

void GLRenderer::CreateMaterial(Material* material) {
  if (CreateMaterialData(material)) UpdateMaterial(material);
}

void GLRenderer::UpdateMaterial(Material* material) {
  if (material->rendererData) FillMaterialData(*material, *material->rendererData);
}

// A later Material at the same address must not pass for the current one.
void GLRenderer::ReleaseMaterial(Material* material) {
  if (material == currentMaterial_) currentMaterial_ = nullptr;
  ReleaseMaterialData(material);
}

void GLRenderer::SetMaterial(Material* material) {
  if (material == currentMaterial_) return;
  currentMaterial_ = material;
  if (!material) return;
  if (const MaterialData* data = material->rendererData) material_ = *data;
  SetBlendMode(material->mode);
  if (material->textureCount == 0) {
    gl_.Disable(GL_TEXTURE_2D);
    return;
  }
  // One texture unit: the last texture bound is the one drawn with; an empty second stage leaves the first's.
  uint32_t count = std::min(material->textureCount, kMaterialStages);
  for (uint32_t stage = 0; stage < count; ++stage) {
    gl_.Enable(GL_TEXTURE_2D);
    if (Texture* texture = material->textures[stage]) {
      texture->Bind();
    } else if (stage == 0) {
      gl_.BindTexture(GL_TEXTURE_2D, 0);  // an incomplete texture: drawn untextured
    }
  }
}

// The five modes of the Direct3D 7 back end's stage and blend states; a mode above 4 leaves the
// previous material's states in force.
void GLRenderer::SetBlendMode(uint32_t mode) {
  switch (mode) {
    case 0:  // opaque: texture times the lit or vertex colour
      gl_.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
      gl_.Disable(GL_BLEND);
      specularAdded_ = true;
      break;
    case 1:
    case 2:  // additive
      gl_.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
      gl_.BlendFunc(GL_ONE, GL_ONE);
      gl_.Enable(GL_BLEND);
      specularAdded_ = true;
      break;
    case 3:  // the texture's colour and alpha (1 for an image without alpha)
    case 4:  // the texture's colour with the vertex alpha
      gl_.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GlCombine);
      gl_.TexEnvi(GL_TEXTURE_ENV, GlCombineRgb, GL_REPLACE);
      gl_.TexEnvi(GL_TEXTURE_ENV, GlSource0Rgb, GL_TEXTURE);
      gl_.TexEnvi(GL_TEXTURE_ENV, GlCombineAlpha, GL_REPLACE);
      gl_.TexEnvi(GL_TEXTURE_ENV, GlSource0Alpha, mode == 3 ? GL_TEXTURE : GlPrimaryColor);
      gl_.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      gl_.Enable(GL_BLEND);
      specularAdded_ = false;
      break;
    default:
      break;
  }
}

int32_t GLRenderer::SetFog(bool enable, float start, float end, float, uint32_t colour) {
  if (enable) {
    gl_.Enable(GL_FOG);
  } else {
    gl_.Disable(GL_FOG);
  }
  gl_.Fogi(GL_FOG_MODE, GL_LINEAR);
  gl_.Fogf(GL_FOG_START, start);
  gl_.Fogf(GL_FOG_END, end);
  float c[4];
  ColourWordToFloats(colour, c);
  c[3] = 0.0f;
  gl_.Fogfv(GL_FOG_COLOR, c);
  return 0;
}

// A patch whose indices would reach past its vertices is never drawn.
void GLRenderer::CreatePatch(Patch* patch) {
  bool sound = patch->vertices && IndicesBelow(patch->indices, patch->indexCount, patch->vertexCount);
  patch->rendererWords[0] = sound ? kPatchCreated : 0;
}

void GLRenderer::ReleasePatch(Patch* patch) { patch->rendererWords[0] = 0; }

// The device's colours for the vertices: lit from their positions and normals while lighting is on, white with
// no specular while it is off.
void GLRenderer::LightVertices(const void* vertices, uint32_t stride, uint32_t count) {
  if (lighting_) {
    Lighting_LightVertices(lights_.Rig(), material_, worldMatrix_, eye_, static_cast<const uint8_t*>(vertices), stride,
                           count, colours_);
  } else {
    std::fill(colours_, colours_ + count, LitColours{{255, 255, 255, 255}, {0, 0, 0, 0}});
  }
}

// Draws vertices whose colours are in colours_: the texture modulated by the diffuse colour, then the specular
// colour added, as the device does with specular enabled. Without indices the first count vertices are drawn.
void GLRenderer::DrawColoured(const void* vertices, int32_t stride, size_t uvOffset, uint32_t mode, uint32_t count,
                              const uint16_t* indices, uint32_t indexCount) {
  const uint8_t* base = static_cast<const uint8_t*>(vertices);
  gl_.EnableClientState(GL_VERTEX_ARRAY);
  gl_.EnableClientState(GL_TEXTURE_COORD_ARRAY);
  gl_.EnableClientState(GL_COLOR_ARRAY);
  gl_.EnableClientState(GlSecondaryColorArray);
  if (specularAdded_) gl_.Enable(GlColorSum);
  gl_.VertexPointer(3, GL_FLOAT, stride, base);
  gl_.TexCoordPointer(2, GL_FLOAT, stride, base + uvOffset);
  gl_.ColorPointer(4, GL_UNSIGNED_BYTE, sizeof(LitColours), colours_->diffuse);
  gl_.SecondaryColorPointer(3, GL_UNSIGNED_BYTE, sizeof(LitColours), colours_->specular);
  if (indices) {
    gl_.DrawElements(mode, static_cast<GLsizei>(indexCount), GL_UNSIGNED_SHORT, indices);
  } else {
    gl_.DrawArrays(mode, 0, static_cast<GLsizei>(count));
  }
  gl_.Disable(GlColorSum);
  gl_.DisableClientState(GlSecondaryColorArray);
  gl_.DisableClientState(GL_COLOR_ARRAY);
  gl_.DisableClientState(GL_TEXTURE_COORD_ARRAY);
  gl_.DisableClientState(GL_VERTEX_ARRAY);
}

// Lit patches are drawn lit; pre-lit ones with their own colours, and lighting stays off until the next lit patch,
// as in the Direct3D 7 back end. Vertices past those a 16-bit index reaches are never used.
int32_t GLRenderer::DrawPatch(Patch* patch) {
  uintptr_t word = patch->rendererWords[0];
  const uint32_t reachable = std::min(patch->vertexCount, kGlMaxVertices);
  if (word == kPatchCreated && patch->kind == PatchLit) {
    lighting_ = true;
    LightVertices(patch->vertices, kLitStride, reachable);
    DrawColoured(patch->vertices, kLitStride, offsetof(PatchVertexLit, u), GL_TRIANGLES, reachable, patch->indices,
                 patch->indexCount);
  } else if (word == kPatchCreated && patch->kind == PatchColoured) {
    lighting_ = false;
    const auto* vertices = static_cast<const PatchVertexColoured*>(patch->vertices);
    for (uint32_t i = 0; i < reachable; ++i) {
      Lighting_WordToBytes(vertices[i].diffuse, colours_[i].diffuse);
      Lighting_WordToBytes(vertices[i].specular, colours_[i].specular);
    }
    DrawColoured(vertices, sizeof(PatchVertexColoured), offsetof(PatchVertexColoured, u), GL_TRIANGLES, reachable,
                 patch->indices, patch->indexCount);
  } else if (word != 0 && word != kPatchCreated) {
    const PatchData& data = *reinterpret_cast<const PatchData*>(word);
    if (!IsDrawableLitPatchData(data)) return 0;
    lighting_ = true;
    const uint32_t count = std::min(data.vertexCount, kGlMaxVertices);
    LightVertices(data.vertices, data.stride, count);
    DrawColoured(data.vertices, static_cast<int32_t>(data.stride), offsetof(PatchVertexLit, u), GL_TRIANGLES, count,
                 data.indices, data.indexCount);
  }
  return 0;
}

// Drawn as the device draws it in the lighting state left by the last patch; at most kGlMaxVertices vertices.
int32_t GLRenderer::DrawPrimitive(PrimitiveKind kind, LitVertex* vertices, uint32_t count, Material* material) {
  if (material != currentMaterial_) SetMaterial(material);
  GLenum mode;
  if (!GlPrimitiveMode(kind, &mode)) return 0;
  count = std::min(count, kGlMaxVertices);
  LightVertices(vertices, sizeof(LitVertex), count);
  DrawColoured(vertices, sizeof(LitVertex), offsetof(LitVertex, tu1), mode, count, nullptr, 0);
  return 0;
}

// Every kind goes through immediate mode: the colours need their bytes reordered for GL, and
// overlays draw four vertices at a time.
int32_t GLRenderer::Draw2D(PrimitiveKind kind, ScreenVertex* vertices, uint32_t count, Material* material) {
  if (material != currentMaterial_) SetMaterial(material);
  GLenum mode;
  if (!GlPrimitiveMode(kind, &mode)) return 0;
  gl_.Begin(mode);
  for (uint32_t i = 0; i < count; ++i) {
    const ScreenVertex& v = vertices[i];
    ColourVertex(gl_, v.diffuse);
    gl_.TexCoord2f(v.tu1, v.tv1);
    gl_.Vertex3f(v.x, v.y, v.z);
  }
  gl_.End();
  return 0;
}
