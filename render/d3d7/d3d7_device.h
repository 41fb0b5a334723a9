// The Direct3D 7 back end's class and its texture manager's device side: DirectDraw and Direct3D types, so only
// the files of this folder include it.
#pragma once

#include <windows.h>
#include <d3d.h>
#include <ddraw.h>

#include <cstdint>
#include <vector>

#include "platform/frame_pacer.h"
#include "render/d3d7/surface_rules.h"
#include "render/record_data.h"
#include "render/renderer.h"

struct BmpImage;

// An empty surface description with its size set, as DirectDraw requires of every one passed in.
inline DDSURFACEDESC2 NewSurfaceDesc() {
  DDSURFACEDESC2 desc = {};
  desc.dwSize = sizeof desc;
  return desc;
}

class D3D7Renderer : public Renderer {
 public:
  ~D3D7Renderer() override;

  // The frame being drawn as RGB rows, top row first.
  bool ReadBackBuffer(int32_t width, int32_t height, uint8_t* rgb);
  bool InitOffscreen(int32_t width, int32_t height, bool filtering);

  // False while the display cannot be drawn: the window minimised, or in full screen the surfaces lost to another
  // program; once the display is back the surfaces are restored and every texture is made again here.
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
  bool InitFullscreen(int32_t width, int32_t height, int32_t bitsPerPixel);
  bool InitWindowed(int32_t width, int32_t height);
  bool CreateSharedDirectDraw(HWND window);
  bool CreateBackBuffer(DWORD width, DWORD height);
  bool CreateDevice();
  void FinishInit(bool filtering);
  bool CreateDepthBuffer(DWORD caps, const char* failure);
  bool NotPalettized();
  void KeepMasks();
  void SetDefaultStates(bool filtering);
  void SetBlendMode(uint32_t mode);
  void Unbind();
  HRESULT PresentInWindow();
  bool SurfacesLost();
  bool RestoreSurfaces();

  IDirectDraw7* directDraw_ = nullptr;
  IDirectDrawSurface7* primary_ = nullptr;
  IDirectDrawSurface7* backBuffer_ = nullptr;
  IDirectDrawSurface7* depthBuffer_ = nullptr;
  IDirect3D7* direct3D_ = nullptr;
  IDirect3DDevice7* device_ = nullptr;
  DDSURFACEDESC2 surfaceDesc_ = {};
  RECT windowRect_ = {};
  RECT clientRect_ = {};
  bool fullscreen_ = false;
  bool initialised_ = false;
  PixelFormat masks_ = {};  // the back buffer's
  uint8_t lightSlots_[kLightSlots] = {};
  Material* currentMaterial_ = nullptr;
  Texture* currentTexture_ = nullptr;
  // Every Texture loaded and not yet released, to be made again when the surfaces come back.
  std::vector<Texture*> textures_;
  FramePacer pacer_{0};
};

// The texture manager's device side over the named-texture list.
HRESULT RestoreTexture(const char* name, IDirect3DDevice7* device);
// A texture of 16-bit pixels with its mip chain, from width x height pixels of 3 bytes, blue first, bottom row
// first, stretched over a surface of the size the device takes. Null when it cannot be made.
IDirectDrawSurface7* CreateMipmappedTexture(IDirect3DDevice7* device, const uint8_t* bgr, uint32_t width,
                                            uint32_t height);
// A texture in the back buffer's format that the device can draw into, with a depth buffer of its own.
IDirectDrawSurface7* CreateRenderTargetTexture(IDirect3DDevice7* device, uint32_t width, uint32_t height,
                                               IDirectDrawSurface7* backBuffer);
// The image stretched over the surface, with alpha from the colour key of the flags when the surface has alpha.
HRESULT CopyBitmapToSurface(IDirectDrawSurface7* surface, const BmpImage& bitmap, uint32_t flags);
