// The OpenGL back end: fixed-function GL over the platform's context, drawing the picture the Direct3D 7 back end
// draws.
//
// The picture is width x height (800 x 600) as given to Init, shown in the window's drawable
// scaled with its aspect kept and black bars around it. Vertices are lit on the CPU by the
// Direct3D 7 model the scenes were made for (render/vertex_lighting.h), GL's own lighting stays
// off, and the materials' blend modes follow the Direct3D 7 back end.
#pragma once

#include <cstdint>

#include "render/letterbox.h"
#include "render/record_data.h"
#include "render/renderer.h"
#include "render/vertex_lighting.h"

struct GlApi;
struct GlContext;

// Every vertex a 16-bit index can reach.
constexpr uint32_t kGlMaxVertices = 65536;

class GLRenderer : public Renderer {
 public:
  explicit GLRenderer(const GlApi& gl);
  ~GLRenderer() override;

  // Where the picture lies in the drawable, and the drawable's size.
  PixelRect Picture() const { return picture_; }
  int32_t DrawableWidth() const { return drawableWidth_; }
  int32_t DrawableHeight() const { return drawableHeight_; }
  // Reads an area of the frame being drawn (before Present) as RGB rows, top row first.
  void ReadPixels(PixelRect area, uint8_t* rgb);

  bool IsReady() override;
  bool Init(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t depthBits, bool fullscreen, void* instance,
            bool filtering) override;
  bool Shutdown() override;
  void Reserved1(uint32_t) override {}
  void Reserved2(uint32_t) override {}
  void Reserved3(uint32_t) override {}
  void Reserved4(uint32_t) override {}
  void Reserved5(uint32_t) override {}
  void Reserved6(uint32_t) override {}
  void CreatePatch(Patch* patch) override;
  void ReleasePatch(Patch* patch) override;
  void CreateMaterial(Material* material) override;
  void UpdateMaterial(Material* material) override;
  void SetMaterial(Material* material) override;
  void ReleaseMaterial(Material* material) override;
  void CreateView(View* view) override;
  void UpdateView(View* view) override;
  void SetViewport(View* view) override;
  void ReleaseView(View* view) override;
  void SetProjection(View* view) override;
  void SetWorldMatrix(float* matrix) override;
  void LoadTexture(Texture* texture) override;
  void BindTexture(uint32_t stage, Texture* texture) override;
  void Reserved7(uint32_t) override {}
  void ReleaseTexture(Texture* texture) override;
  void CreateLight(Light* light) override;
  void UpdateLight(Light* light) override;
  void ReleaseLight(Light* light) override;
  int32_t Present(uint32_t ignored) override;
  int32_t Clear(uint32_t flags, uint32_t colour, float depth) override;
  int32_t CopyToTexture(Texture*, int32_t, int32_t, int32_t, int32_t) override { return 0; }
  void SetRenderTarget(Texture*, View*) override {}
  uint32_t MakeColor(uint32_t, uint32_t, uint32_t, uint32_t) override { return 0xFFFFFFFF; }
  int32_t SetClipping(int32_t) override { return 0; }
  int32_t SetFog(bool enable, float start, float end, float density, uint32_t colour) override;
  int32_t SetDepthState(bool, bool) override { return 0; }
  int32_t BeginScene() override { return 0; }
  int32_t DrawPatch(Patch* patch) override;
  void BeginView(View* view) override;
  int32_t DrawPrimitive(PrimitiveKind kind, LitVertex* vertices, uint32_t count, Material* material) override;
  void EndView() override;
  void Begin2D(View* view) override;
  int32_t DrawTextured2D(PrimitiveKind, ScreenVertex*, uint32_t, Texture*) override { return 0; }
  int32_t Draw2D(PrimitiveKind kind, ScreenVertex* vertices, uint32_t count, Material* material) override;
  void End2D() override;
  int32_t EndScene() override { return 0; }

 private:
  void SetDefaultStates();
  void FollowDrawable();
  void ApplyViewport();
  void ClearBars();
  void SetBlendMode(uint32_t mode);
  void LightVertices(const void* vertices, uint32_t stride, uint32_t count);
  void DrawColoured(const void* vertices, int32_t stride, size_t uvOffset, uint32_t mode, uint32_t count,
                    const uint16_t* indices, uint32_t indexCount);
  uint32_t NewBoundTexture(int32_t minFilter, uint32_t levels);
  void LoadRawTexture(Texture* texture);
  void LoadFileTexture(Texture* texture);

  const GlApi& gl_;
  GlContext* context_ = nullptr;
  bool initialised_ = false;
  bool filtering_ = false;
  float viewMatrix_[16] = {};
  float worldMatrix_[16] = {};
  Vec3 eye_ = {0, 0, 0};
  LightingSlots lights_;
  // As on the device: lit patches switch lighting on, pre-lit ones off, and the last material stays.
  bool lighting_ = true;
  MaterialData material_ = {};
  // The texture-alpha and vertex-alpha modes draw the texture's own colour: the reference adds no specular there.
  bool specularAdded_ = true;
  LitColours* colours_ = nullptr;  // kGlMaxVertices, one per vertex of the draw at hand
  Material* currentMaterial_ = nullptr;
  // The picture's own size, the drawable's, and where the picture lies in it.
  int32_t pictureWidth_ = 0, pictureHeight_ = 0;
  int32_t drawableWidth_ = 0, drawableHeight_ = 0;
  PixelRect picture_ = {};
  ViewportData viewport_ = {};
  int32_t viewportPixels_[2] = {};  // the GL viewport's width and height
};

// The back end the program registers for RendererGL.
Renderer* NewGLRenderer();
