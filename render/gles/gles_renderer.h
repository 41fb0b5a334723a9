// The shader back end: OpenGL ES 3.0 (WebGL 2 in a browser), drawing the picture the Direct3D 7 back end draws.
//
// Lighting, materials, the blend modes, colour keys and fog follow the Direct3D 7 reference rules, computed in
// three small programs (lit, unlit, screen) chosen by what is drawn; vertices go to the device in buffers. The
// picture is width x height as given to Init, letterboxed in the drawable as in the OpenGL back end.
#pragma once

#include <cstdint>
#include <vector>

#include "render/gles/gles_programs.h"
#include "render/letterbox.h"
#include "render/record_data.h"
#include "render/renderer.h"
#include "render/vertex_lighting.h"

struct GlContext;
struct GlesRenderTarget;

class GLESRenderer : public Renderer {
 public:
  GLESRenderer() = default;
  ~GLESRenderer() override;

  // Where the picture lies in the drawable.
  PixelRect Picture() const { return picture_; }
  // Reads an area of the frame being drawn (before Present) as RGB rows, top row first.
  void ReadPixels(PixelRect area, uint8_t* rgb);

  bool IsReady() override { return true; }
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
  int32_t CopyToTexture(Texture* texture, int32_t x, int32_t y, int32_t width, int32_t height) override;
  void SetRenderTarget(Texture* texture, View* view) override;
  uint32_t MakeColor(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha) override;
  int32_t SetClipping(int32_t) override { return 0; }
  int32_t SetFog(bool enable, float start, float end, float density, uint32_t colour) override;
  int32_t SetDepthState(bool write, bool test) override;
  int32_t BeginScene() override { return 0; }
  int32_t DrawPatch(Patch* patch) override;
  void BeginView(View* view) override;
  int32_t DrawPrimitive(PrimitiveKind kind, LitVertex* vertices, uint32_t count, Material* material) override;
  void EndView() override;
  void Begin2D(View* view) override;
  int32_t DrawTextured2D(PrimitiveKind kind, ScreenVertex* vertices, uint32_t count, Texture* texture) override;
  int32_t Draw2D(PrimitiveKind kind, ScreenVertex* vertices, uint32_t count, Material* material) override;
  void End2D() override;
  int32_t EndScene() override { return 0; }

 private:
  // How the vertices of one draw lie in their buffer.
  struct VertexLayout {
    uint32_t buffer;
    uint32_t base;    // byte offset of the first vertex in the buffer
    uint32_t stride;  // bytes per vertex
    // Byte offsets in a vertex, -1 where the vertex lacks the attribute (it then reads the constant value).
    int32_t offsets[kAttributeCount];
    int32_t positionSize;  // 3, or 4 with the reciprocal w of screen vertices
  };

  void SetDefaultStates();
  void FollowDrawable();
  void ApplyViewport();
  void ClearBars();
  void SetBlendMode(uint32_t mode);
  void UnbindStage(uint32_t stage);
  void SendLights();
  uint32_t NewTexture(int32_t minFilter, uint32_t levels);
  void LoadRawTexture(Texture* texture);
  void LoadFileTexture(Texture* texture);
  void LoadRenderTarget(Texture* texture);
  void ReleaseRenderTarget(Texture* texture);
  void BindDrawTarget();
  // Copies bytes into the stream buffer (vertices or indices) and returns their offset in it.
  uint32_t StreamBytes(uint32_t which, const void* data, uint32_t bytes);
  static VertexLayout MakeLayout(const int32_t (&offsets)[kAttributeCount], uint32_t buffer, uint32_t base,
                                 uint32_t stride, int32_t positionSize);
  void Draw(ProgramKind program, const VertexLayout& layout, uint32_t mode, uint32_t count, bool indexed,
            uint32_t indexOffset);
  int32_t DrawScreen(PrimitiveKind kind, const ScreenVertex* vertices, uint32_t count);

  GlContext* context_ = nullptr;
  bool initialised_ = false;
  bool filtering_ = false;
  GlesPrograms programs_;
  ShaderState state_;
  uint32_t vertexArray_ = 0;
  uint32_t copyFramebuffer_ = 0;    // CopyToTexture draws into the texture through it
  uint32_t streamBuffers_[2] = {};  // vertices, indices
  uint32_t streamSizes_[2] = {};
  uint32_t streamUsed_[2] = {};
  LightingSlots lights_;
  bool lightsChanged_ = true;  // a light changed since the lights were last sent
  Material* currentMaterial_ = nullptr;
  Texture* boundTextures_[kShaderStages] = {};
  bool depthWrite_ = true;
  bool lighting_ = true;  // off after a pre-lit patch until the next lit one, as in the Direct3D 7 back end
  GlesRenderTarget* renderTarget_ = nullptr;  // null while drawing into the window
  // The picture's own size, the drawable's, and where the picture lies in it.
  int32_t pictureWidth_ = 0, pictureHeight_ = 0;
  int32_t drawableWidth_ = 0, drawableHeight_ = 0;
  PixelRect picture_ = {};
  bool barsStale_ = false;  // a new back buffer whose bars are not yet black
  ViewportData viewport_ = {};
  int32_t viewportPixels_[2] = {};  // the GL viewport's width and height
  std::vector<uint8_t> readRow_;
};

// The back end the program registers for RendererGLES.
Renderer* NewGLESRenderer();
