// A renderer that draws nothing and logs every call with its arguments, for tests and qz2-tool.
//
// Like the real back ends it keeps the records' renderer data: ViewportData, MaterialData (as
// the OpenGL back end fills it), a light slot per light, a mark on each patch. BeginView runs the
// View's Apply. Textures get scales 1.0; those made from image files take the bitmap's width and
// height from the file as they are.
#pragma once

#include <string>
#include <vector>

#include "render/record_data.h"
#include "render/renderer.h"

class RecordingRenderer : public Renderer {
 public:
  // Calls go to log when one is given, so a test can interleave them with its own events.
  explicit RecordingRenderer(std::vector<std::string>* log = nullptr);
  ~RecordingRenderer() override;

  // One line per call: the operation's name and its arguments, "Clear(6, 0x00000000, 1)".
  // Record pointers are written as "ptr" or "null"; scalars as numbers (colours in hex).
  std::vector<std::string>& calls;
  bool initResult = true;
  bool initialised = false;
  // BeginView runs the View's Apply; tests that pass stand-in views turn it off.
  bool applyViews = true;
  // Off, calls are not logged: a count of a frame's allocations then sees only the frame's own.
  bool logCalls = true;
  uint8_t lightSlots[kLightSlots] = {};

  // Only the calls whose name is op, in order.
  std::vector<std::string> CallsTo(const std::string& op) const;

  bool IsReady() override;
  bool Init(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t depthBits, bool fullscreen, void* instance,
            bool filtering) override;
  bool Shutdown() override;
  void Reserved1(uint32_t) override;
  void Reserved2(uint32_t) override;
  void Reserved3(uint32_t) override;
  void Reserved4(uint32_t) override;
  void Reserved5(uint32_t) override;
  void Reserved6(uint32_t) override;
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
  void Reserved7(uint32_t) override;
  void ReleaseTexture(Texture* texture) override;
  void CreateLight(Light* light) override;
  void UpdateLight(Light* light) override;
  void ReleaseLight(Light* light) override;
  int32_t Present(uint32_t ignored) override;
  int32_t Clear(uint32_t flags, uint32_t colour, float depth) override;
  int32_t CopyToTexture(Texture* texture, int32_t x, int32_t y, int32_t width, int32_t height) override;
  void SetRenderTarget(Texture* texture, View* view) override;
  uint32_t MakeColor(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha) override;
  int32_t SetClipping(int32_t visibility) override;
  int32_t SetFog(bool enable, float start, float end, float density, uint32_t colour) override;
  int32_t SetDepthState(bool write, bool test) override;
  int32_t BeginScene() override;
  int32_t DrawPatch(Patch* patch) override;
  void BeginView(View* view) override;
  int32_t DrawPrimitive(PrimitiveKind kind, LitVertex* vertices, uint32_t count, Material* material) override;
  void EndView() override;
  void Begin2D(View* view) override;
  int32_t DrawTextured2D(PrimitiveKind kind, ScreenVertex* vertices, uint32_t count, Texture* texture) override;
  int32_t Draw2D(PrimitiveKind kind, ScreenVertex* vertices, uint32_t count, Material* material) override;
  void End2D() override;
  int32_t EndScene() override;

 private:
  std::vector<std::string> ownLog_;
  void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));
};
