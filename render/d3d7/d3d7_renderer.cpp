// The Direct3D 7 back end: the full-screen and windowed set-ups, default states, frames and transforms.
#include "render/d3d7/d3d7_renderer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>

#include "core/app.h"
#include "core/error.h"
#include "render/d3d7/d3d7_device.h"
#include "render/d3d7/texture_list.h"
#include "render/letterbox.h"
#include "render/window.h"
#include "scene/camera.h"
#include "scene/texture.h"
#include "scene/view.h"

namespace {

constexpr DWORD kFullscreenCoopLevel =
    DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_NOWINDOWCHANGES | DDSCL_EXCLUSIVE | DDSCL_FPUSETUP;
static_assert(kFullscreenCoopLevel == 0x817);
static_assert(sizeof(PixelFormat) == sizeof(DDPIXELFORMAT));
static_assert(sizeof(ViewportData) == sizeof(D3DVIEWPORT7) && sizeof(MaterialData) == sizeof(D3DMATERIAL7));

template <typename T>
void ReleaseRef(T*& ref) {
  if (ref) ref->Release();
  ref = nullptr;
}

// Takes the first depth format without stencil.
HRESULT CALLBACK TakeDepthFormat(DDPIXELFORMAT* format, void* context) {
  PixelFormat candidate;
  std::memcpy(&candidate, format, sizeof candidate);
  if (!AcceptsDepthFormat(candidate)) return D3DENUMRET_OK;
  *static_cast<DDPIXELFORMAT*>(context) = *format;
  return D3DENUMRET_CANCEL;
}

}  // namespace

Renderer* NewD3D7Renderer() { return new D3D7Renderer; }

bool InitD3D7Offscreen(Renderer& renderer, int32_t width, int32_t height, bool filtering) {
  return static_cast<D3D7Renderer&>(renderer).InitOffscreen(width, height, filtering);
}

bool ReadD3D7BackBuffer(Renderer& renderer, int32_t width, int32_t height, uint8_t* rgb) {
  return static_cast<D3D7Renderer&>(renderer).ReadBackBuffer(width, height, rgb);
}

D3D7Renderer::~D3D7Renderer() {
  if (initialised_) Shutdown();
}

bool D3D7Renderer::Init(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t, bool fullscreen, void* instance,
                        bool filtering) {
  fullscreen_ = fullscreen;
  AppInstance = instance;
  const bool opened = fullscreen ? InitFullscreen(width, height, bitsPerPixel) : InitWindowed(width, height);
  if (opened) FinishInit(filtering);
  return opened;
}

// A picture of any size on any screen: DirectDraw without a window, the back buffer a plain surface of its own
// size. The windowed set-up's steps, less the primary surface, the window's size and the clipper.
bool D3D7Renderer::InitOffscreen(int32_t width, int32_t height, bool filtering) {
  fullscreen_ = false;
  const bool opened = CreateSharedDirectDraw(nullptr) &&
                      CreateBackBuffer(static_cast<DWORD>(width), static_cast<DWORD>(height)) && CreateDevice();
  if (opened) FinishInit(filtering);
  return opened;
}

void D3D7Renderer::FinishInit(bool filtering) {
  KeepMasks();
  initialised_ = true;
  SetDefaultStates(filtering);
  DWORD refreshHz = 0;
  if (FAILED(directDraw_->GetMonitorFrequency(&refreshHz))) refreshHz = 0;
  pacer_ = FramePacer(static_cast<int>(refreshHz));
}

// Each failing step is told as a warning, and Init gives up at once.
bool D3D7Renderer::InitFullscreen(int32_t width, int32_t height, int32_t bitsPerPixel) {
  CreateMainWindow(width, height, true);
  // The device in use is always the hardware one, so the depth buffer lives in video memory.
  const DWORD depthMemory = DDSCAPS_VIDEOMEMORY;
  auto failed = [](const char* message) {
    ReportError(message, false);
    return false;
  };
  auto failedMemory = [](const char* message, HRESULT result) {
    ReportError(message, false);
    if (result == DDERR_OUTOFVIDEOMEMORY) ReportError("Error: Out of video memory", false);
    return false;
  };
  if (FAILED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&directDraw_), IID_IDirectDraw7, nullptr))) {
    return failed("Could not create DirectDraw");
  }
  HWND window = static_cast<HWND>(MainWindow);
  if (FAILED(directDraw_->SetCooperativeLevel(window, kFullscreenCoopLevel))) return failed("Couldn't set coop level");
  if (!NotPalettized()) return false;
  if (FAILED(directDraw_->SetDisplayMode(width, height, bitsPerPixel, 0, 0))) return failed("Can't set display mode");

  DDSURFACEDESC2 desc = NewSurfaceDesc();
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
  desc.dwBackBufferCount = 1;
  HRESULT result = directDraw_->CreateSurface(&desc, &primary_, nullptr);
  if (FAILED(result)) return failedMemory("Error: Can't create primary surface", result);
  DDSCAPS2 backCaps = {};
  backCaps.dwCaps = DDSCAPS_BACKBUFFER;
  if (FAILED(primary_->GetAttachedSurface(&backCaps, &backBuffer_))) return failed("Error: Can't get the backbuffer");
  backBuffer_->AddRef();
  if (FAILED(directDraw_->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&direct3D_)))) {
    return failed("Couldn't get the Direct3D interface");
  }
  if (FAILED(direct3D_->CreateDevice(IID_IDirect3DHALDevice, backBuffer_, &device_))) {
    return failed("Couldn't create the D3DDevice");
  }
  D3DVIEWPORT7 viewport = {0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0.0f, 1.0f};
  if (FAILED(device_->SetViewport(&viewport))) return failed("Error: Couldn't set current viewport to device");
  D3DDEVICEDESC7 caps = {};
  if (SUCCEEDED(device_->GetCaps(&caps)) && (caps.dpcTriCaps.dwRasterCaps & D3DPRASTERCAPS_ZBUFFERLESSHSR)) {
    return failed("Error: Couldn't create a ZBuffer surface -> no HW support");
  }
  surfaceDesc_ = NewSurfaceDesc();
  backBuffer_->GetSurfaceDesc(&surfaceDesc_);
  if (!CreateDepthBuffer(depthMemory, "Device doesn't support requested zbuffer format")) return false;
  if (FAILED(device_->SetRenderTarget(backBuffer_, 0))) {
    return failed("Error: SetRenderTarget() failed after attaching zbuffer!");
  }
  return true;
}

// The depth buffer in the first format without stencil, the back buffer's size, attached to it. The
// full-screen set-up and the windowed one word their failures differently.
bool D3D7Renderer::CreateDepthBuffer(DWORD memory, const char* noFormat) {
  DDPIXELFORMAT format = {};
  direct3D_->EnumZBufferFormats(IID_IDirect3DHALDevice, TakeDepthFormat, &format);
  if (format.dwSize == 0) {
    ReportError(noFormat, false);
    return false;
  }
  DDSURFACEDESC2 desc = NewSurfaceDesc();
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
  desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | memory;
  desc.dwWidth = surfaceDesc_.dwWidth;
  desc.dwHeight = surfaceDesc_.dwHeight;
  desc.ddpfPixelFormat = format;
  HRESULT result = directDraw_->CreateSurface(&desc, &depthBuffer_, nullptr);
  if (FAILED(result)) {
    ReportError(fullscreen_ ? "Error: Couldn't create a ZBuffer surface" : "Can't Create and attach a z-buffer", false);
    if (fullscreen_ && result == DDERR_OUTOFVIDEOMEMORY) ReportError("Error: Out of video memory", false);
    return false;
  }
  if (FAILED(backBuffer_->AddAttachedSurface(depthBuffer_))) {
    ReportError(fullscreen_ ? "Error: Couldn't attach zbuffer to render surface"
                            : "Can't Attach the z-buffer to the back buffer",
                false);
    return false;
  }
  return true;
}

bool D3D7Renderer::NotPalettized() {
  DDSURFACEDESC2 mode = NewSurfaceDesc();
  directDraw_->GetDisplayMode(&mode);
  if (mode.ddpfPixelFormat.dwRGBBitCount > 8) return true;
  ReportError("Check that we are NOT in a palettized display", false);
  return false;
}

bool D3D7Renderer::InitWindowed(int32_t width, int32_t height) {
  CreateMainWindow(width, height, false);
  auto failed = [](const char* message) {
    ReportError(message, false);
    return false;
  };
  HWND window = static_cast<HWND>(MainWindow);
  if (!CreateSharedDirectDraw(window)) return false;
  surfaceDesc_ = NewSurfaceDesc();
  surfaceDesc_.dwFlags = DDSD_CAPS;
  surfaceDesc_.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  if (FAILED(directDraw_->CreateSurface(&surfaceDesc_, &primary_, nullptr))) {
    return failed("Can't Create the primary surface");
  }
  GetClientRect(window, &clientRect_);
  windowRect_ = clientRect_;
  ClientToScreen(window, reinterpret_cast<POINT*>(&windowRect_.left));
  ClientToScreen(window, reinterpret_cast<POINT*>(&windowRect_.right));
  if (!CreateBackBuffer(clientRect_.right - clientRect_.left, clientRect_.bottom - clientRect_.top)) return false;
  IDirectDrawClipper* clipper = nullptr;
  if (FAILED(directDraw_->CreateClipper(0, &clipper, nullptr))) {
    return failed("Can't Create a clipper object which handles");
  }
  clipper->SetHWnd(0, window);
  primary_->SetClipper(clipper);
  clipper->Release();  // the primary keeps it
  return CreateDevice();
}

// DirectDraw sharing the display with the desktop's other programs.
bool D3D7Renderer::CreateSharedDirectDraw(HWND window) {
  if (FAILED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&directDraw_), IID_IDirectDraw7, nullptr))) {
    ReportError("Can't Create the IDirectDraw interface", false);
    return false;
  }
  if (SUCCEEDED(directDraw_->SetCooperativeLevel(window, DDSCL_NORMAL))) return true;
  ReportError("Can't Set the Windows cooperative level", false);
  return false;
}

// The windowed back buffer: a plain surface the device draws into, in the display's format.
bool D3D7Renderer::CreateBackBuffer(DWORD width, DWORD height) {
  surfaceDesc_ = NewSurfaceDesc();
  surfaceDesc_.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  surfaceDesc_.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
  surfaceDesc_.dwWidth = width;
  surfaceDesc_.dwHeight = height;
  if (SUCCEEDED(directDraw_->CreateSurface(&surfaceDesc_, &backBuffer_, nullptr))) return true;
  ReportError("Can't Create the backbuffer", false);
  return false;
}

// The windowed set-up's last steps, over its back buffer: Direct3D, the depth buffer, the device and its viewport.
bool D3D7Renderer::CreateDevice() {
  auto failed = [](const char* message) {
    ReportError(message, false);
    return false;
  };
  if (FAILED(directDraw_->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&direct3D_)))) {
    return failed("Can't Query DirectDraw for access to Direct3D");
  }
  if (!CreateDepthBuffer(DDSCAPS_VIDEOMEMORY, "Can't found a good zbuffer format")) return false;
  if (!NotPalettized()) return false;
  if (FAILED(direct3D_->CreateDevice(IID_IDirect3DHALDevice, backBuffer_, &device_))) {
    return failed("Can't Create the device");
  }
  D3DVIEWPORT7 viewport = {0, 0, surfaceDesc_.dwWidth, surfaceDesc_.dwHeight, 0.0f, 1.0f};
  if (FAILED(device_->SetViewport(&viewport))) return failed("Can't Create the viewport");
  return true;
}

void D3D7Renderer::KeepMasks() {
  DDSURFACEDESC2 desc = NewSurfaceDesc();
  backBuffer_->GetSurfaceDesc(&desc);
  std::memcpy(&masks_, &desc.ddpfPixelFormat, sizeof masks_);
}

void D3D7Renderer::SetDefaultStates(bool filtering) {
  device_->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
  device_->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, TRUE);
  device_->SetRenderState(D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL);
  device_->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW);
  device_->SetRenderState(D3DRENDERSTATE_CLIPPING, TRUE);
  device_->SetRenderState(D3DRENDERSTATE_LIGHTING, TRUE);
  device_->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, TRUE);
  device_->SetRenderState(D3DRENDERSTATE_TEXTUREPERSPECTIVE, TRUE);
  device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
  device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  device_->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
  device_->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
  device_->SetTextureStageState(0, D3DTSS_MIPFILTER, filtering ? D3DTFP_LINEAR : D3DTFP_POINT);
  device_->SetTextureStageState(0, D3DTSS_MIPMAPLODBIAS, std::bit_cast<DWORD>(0.0f));
  if (filtering) {
    device_->SetRenderState(D3DRENDERSTATE_TEXTUREMAG, D3DFILTER_LINEARMIPLINEAR);
    device_->SetRenderState(D3DRENDERSTATE_TEXTUREMIN, D3DFILTER_LINEARMIPLINEAR);
  }
}

// A device or DirectDraw object still referenced elsewhere stops the release there. The device keeps its own
// reference to the back buffer, which in full screen lives in the primary's flip chain, so the primary goes after
// the device; it holds DirectDraw, and so do the named textures' surfaces, so both go before DirectDraw.
bool D3D7Renderer::Shutdown() {
  // The desktop gets its own mode back even when something still holds DirectDraw.
  if (fullscreen_ && directDraw_) {
    directDraw_->RestoreDisplayMode();
    directDraw_->SetCooperativeLevel(static_cast<HWND>(MainWindow), DDSCL_NORMAL);
  }
  ReleaseTextureList();
  ReleaseRef(depthBuffer_);
  ReleaseRef(backBuffer_);
  ReleaseRef(direct3D_);
  if (device_ && device_->Release() > 0) return false;
  device_ = nullptr;
  ReleaseRef(primary_);
  if (directDraw_ && directDraw_->Release() > 0) return false;
  directDraw_ = nullptr;
  currentMaterial_ = nullptr;
  currentTexture_ = nullptr;
  initialised_ = false;
  std::fill(std::begin(lightSlots_), std::end(lightSlots_), 0);
  return true;
}

bool D3D7Renderer::IsReady() {
  if (!initialised_) return true;
  if (!fullscreen_ && IsIconic(static_cast<HWND>(MainWindow))) return false;
  if (!SurfacesLost()) return true;
  // Until the program has the display again nothing can be restored.
  if (directDraw_->TestCooperativeLevel() != DD_OK) return false;
  return RestoreSurfaces();
}

bool D3D7Renderer::SurfacesLost() {
  return primary_->IsLost() == DDERR_SURFACELOST || backBuffer_->IsLost() == DDERR_SURFACELOST;
}

// The surfaces come back with their contents gone: every texture is made again from its image, the scene's pixels
// or nothing (a texture drawn into), and set again at its next use.
bool D3D7Renderer::RestoreSurfaces() {
  if (FAILED(directDraw_->RestoreAllSurfaces())) return false;
  std::vector<Texture*> textures;
  textures.swap(textures_);
  for (Texture* texture : textures) {
    if (auto* surface = reinterpret_cast<IDirectDrawSurface7*>(texture->rendererData)) surface->Release();
    texture->rendererData = 0;
    LoadTexture(texture);
  }
  Unbind();
  currentMaterial_ = nullptr;
  return true;
}

// A flip waits for the display's refresh where there is one to wait for; a window's copy does not, so the pacer
// holds both to the refresh.
int32_t D3D7Renderer::Present(uint32_t) {
  if (!primary_) return DD_OK;  // off screen: nothing to show
  const HRESULT result = fullscreen_ ? primary_->Flip(nullptr, DDFLIP_WAIT) : PresentInWindow();
  pacer_.AfterSwap();
  return result;
}

// The picture goes where the client area is now, scaled to it with its aspect kept and black bars beside it;
// a minimised window shows nothing.
HRESULT D3D7Renderer::PresentInWindow() {
  HWND window = static_cast<HWND>(MainWindow);
  RECT client;
  if (IsIconic(window) || !GetClientRect(window, &client)) return DD_OK;
  const PixelRect picture =
      Letterbox(client.right, client.bottom, clientRect_.right - clientRect_.left, clientRect_.bottom - clientRect_.top);
  if (picture.width <= 0 || picture.height <= 0) return DD_OK;
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  windowRect_ = {origin.x + picture.x, origin.y + picture.y, origin.x + picture.x + picture.width,
                 origin.y + picture.y + picture.height};
  const RECT& p = windowRect_;
  const RECT bars[] = {
      {origin.x, origin.y, origin.x + client.right, p.top},                      // above
      {origin.x, p.bottom, origin.x + client.right, origin.y + client.bottom},  // below
      {origin.x, p.top, p.left, p.bottom},                                       // left
      {p.right, p.top, origin.x + client.right, p.bottom},                       // right
  };
  DDBLTFX black = {};
  black.dwSize = sizeof black;
  for (RECT bar : bars) {
    if (bar.right > bar.left && bar.bottom > bar.top) {
      primary_->Blt(&bar, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &black);
    }
  }
  return primary_->Blt(&windowRect_, backBuffer_, &clientRect_, DDBLT_WAIT, nullptr);
}

int32_t D3D7Renderer::Clear(uint32_t flags, uint32_t colour, float depth) {
  const bool depthToo = (flags & ClearDepth) && depthBuffer_;
  if (depthToo && (flags & ClearColor)) {
    return device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, colour, depth, 0);
  }
  HRESULT result = D3D_OK;
  if (flags & ClearColor) result = device_->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 0.0f, 0);
  if (depthToo) result = device_->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, depth, 0);
  return result;
}

bool D3D7Renderer::ReadBackBuffer(int32_t width, int32_t height, uint8_t* rgb) {
  DDSURFACEDESC2 desc = NewSurfaceDesc();
  if (FAILED(backBuffer_->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY | DDLOCK_SURFACEMEMORYPTR, nullptr))) {
    return false;
  }
  const uint32_t bytes = desc.ddpfPixelFormat.dwRGBBitCount / 8;
  const bool fits = desc.dwWidth == static_cast<DWORD>(width) && desc.dwHeight == static_cast<DWORD>(height) &&
                    bytes >= 2 && bytes <= 4;
  if (fits) {
    PixelFormat format;
    std::memcpy(&format, &desc.ddpfPixelFormat, sizeof format);
    for (int32_t y = 0; y < height; ++y) {
      const uint8_t* row = static_cast<const uint8_t*>(desc.lpSurface) + static_cast<intptr_t>(desc.lPitch) * y;
      for (int32_t x = 0; x < width; ++x, rgb += 3) {
        uint32_t pixel = 0;
        std::memcpy(&pixel, row + size_t{bytes} * x, bytes);
        UnpackColour(pixel, format, rgb);
      }
    }
  }
  backBuffer_->Unlock(nullptr);
  return fits;
}

void D3D7Renderer::CreateView(View* view) { CreateViewportData(view); }

void D3D7Renderer::UpdateView(View* view) {
  if (view->viewport) FillViewportData(*view, *view->viewport);
}

void D3D7Renderer::ReleaseView(View* view) { ReleaseViewportData(view); }

void D3D7Renderer::SetViewport(View* view) {
  if (view->viewport) device_->SetViewport(reinterpret_cast<D3DVIEWPORT7*>(view->viewport));
}

// Row vectors: w' = z and z' = Q z - Q near, so depth runs from 0 at the near plane to 1 at the far one.
void D3D7Renderer::SetProjection(View* view) {
  Camera* camera = view->camera;
  if (!camera) return;
  const float q = view->farPlane / (view->farPlane - view->nearPlane);
  D3DMATRIX m = {};
  m._11 = -camera->xScale;
  m._22 = camera->yScale * view->aspect;
  m._33 = q;
  m._34 = 1.0f;
  m._43 = -q * view->nearPlane;
  device_->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &m);
  ForceAffineColumn(camera->viewMatrix);
  device_->SetTransform(D3DTRANSFORMSTATE_VIEW, reinterpret_cast<D3DMATRIX*>(camera->viewMatrix));
}

void D3D7Renderer::SetWorldMatrix(float* matrix) {
  ForceAffineColumn(matrix);
  device_->SetTransform(D3DTRANSFORMSTATE_WORLD, reinterpret_cast<D3DMATRIX*>(matrix));
}

int32_t D3D7Renderer::CopyToTexture(Texture* texture, int32_t x, int32_t y, int32_t width, int32_t height) {
  auto* surface = reinterpret_cast<IDirectDrawSurface7*>(texture->rendererData);
  if (!surface) return DDERR_INVALIDPARAMS;
  const LONG left = x & 0xFFFF, top = y & 0xFFFF, w = width & 0xFFFF, h = height & 0xFFFF;
  RECT destination = {0, 0, w, h};
  RECT source = {left, top, left + w, top + h};
  return surface->Blt(&destination, backBuffer_, &source, DDBLT_WAIT, nullptr);
}

void D3D7Renderer::SetRenderTarget(Texture* texture, View* view) {
  IDirectDrawSurface7* target = texture ? reinterpret_cast<IDirectDrawSurface7*>(texture->rendererData) : backBuffer_;
  if (!target || FAILED(device_->SetRenderTarget(target, 0))) {
    ReportError("Error: SetRenderTarget() failed!", false);
    return;
  }
  if (!view->viewport || FAILED(device_->SetViewport(reinterpret_cast<D3DVIEWPORT7*>(view->viewport)))) {
    ReportError("Error: Couldn't set current viewport to device", false);
  }
}

uint32_t D3D7Renderer::MakeColor(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha) {
  return PackColour(red, green, blue, alpha, masks_);
}

int32_t D3D7Renderer::SetClipping(int32_t visibility) {
  return device_->SetRenderState(D3DRENDERSTATE_CLIPPING, visibility != 1);
}

int32_t D3D7Renderer::SetFog(bool enable, float start, float end, float, uint32_t colour) {
  device_->SetRenderState(D3DRENDERSTATE_FOGENABLE, enable);
  device_->SetRenderState(D3DRENDERSTATE_FOGCOLOR, colour);
  device_->SetRenderState(D3DRENDERSTATE_FOGVERTEXMODE, D3DFOG_LINEAR);
  device_->SetRenderState(D3DRENDERSTATE_FOGSTART, std::bit_cast<DWORD>(start));
  return device_->SetRenderState(D3DRENDERSTATE_FOGEND, std::bit_cast<DWORD>(end));
}

int32_t D3D7Renderer::SetDepthState(bool write, bool test) {
  device_->SetRenderState(D3DRENDERSTATE_ZENABLE, test);
  return device_->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, write);
}

int32_t D3D7Renderer::BeginScene() { return device_->BeginScene(); }

int32_t D3D7Renderer::EndScene() { return device_->EndScene(); }

void D3D7Renderer::BeginView(View* view) {
  CurrentView = view;
  view->Apply();
}

void D3D7Renderer::EndView() { CurrentView = nullptr; }

// Screen-space vertices need no transform set-up.
void D3D7Renderer::Begin2D(View* view) { CurrentView = view; }

void D3D7Renderer::End2D() { CurrentView = nullptr; }
