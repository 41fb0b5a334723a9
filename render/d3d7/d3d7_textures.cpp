// The Direct3D 7 back end's textures: image files through the named-texture list, scene pixels with their mip
// chain, textures drawn into.
#include <cstring>
#include <functional>
#include <vector>

#include "core/error.h"
#include "render/bmp_file.h"
#include "render/d3d7/d3d7_device.h"
#include "render/d3d7/texture_list.h"
#include "render/texture_image.h"
#include "scene/texture.h"

namespace {

using FormatTest = std::function<bool(const PixelFormat&)>;

struct FormatSearch {
  const FormatTest& accept;
  DDPIXELFORMAT found;
};

HRESULT CALLBACK TakeFirstAccepted(DDPIXELFORMAT* format, void* context) {
  auto* search = static_cast<FormatSearch*>(context);
  PixelFormat candidate;
  std::memcpy(&candidate, format, sizeof candidate);
  if (!search->accept(candidate)) return D3DENUMRET_OK;
  search->found = *format;
  return D3DENUMRET_CANCEL;
}

// The first texture format the device offers that passes the test.
bool FindTextureFormat(IDirect3DDevice7* device, const FormatTest& accept, DDPIXELFORMAT* format) {
  FormatSearch search = {accept, {}};
  device->EnumTextureFormats(TakeFirstAccepted, &search);
  *format = search.found;
  return search.found.dwSize != 0;
}

bool HardwareDevice(const D3DDEVICEDESC7& caps) {
  return IsEqualGUID(caps.deviceGUID, IID_IDirect3DHALDevice) ||
         IsEqualGUID(caps.deviceGUID, IID_IDirect3DTnLHalDevice);
}

TextureLimits LimitsOf(const D3DDEVICEDESC7& caps) {
  return {caps.dpcTriCaps.dwTextureCaps, caps.dwMaxTextureWidth, caps.dwMaxTextureHeight};
}

// The DirectDraw object of the device's render target, referenced for the caller.
IDirectDraw7* DeviceDirectDraw(IDirect3DDevice7* device) {
  IDirectDrawSurface7* target = nullptr;
  if (FAILED(device->GetRenderTarget(&target))) return nullptr;
  IDirectDraw7* directDraw = nullptr;
  if (FAILED(target->GetDDInterface(reinterpret_cast<void**>(&directDraw)))) directDraw = nullptr;
  target->Release();
  return directDraw;
}

IDirectDrawSurface7* CreateSurface(IDirect3DDevice7* device, DDSURFACEDESC2* desc) {
  IDirectDraw7* directDraw = DeviceDirectDraw(device);
  if (!directDraw) return nullptr;
  IDirectDrawSurface7* surface = nullptr;
  if (FAILED(directDraw->CreateSurface(desc, &surface, nullptr))) surface = nullptr;
  directDraw->Release();
  return surface;
}

void ReleaseSurface(void* surface) { static_cast<IDirectDrawSurface7*>(surface)->Release(); }

// GDI draws width x height pixels (RGB rows, top row first) into the surface's top-left corner, converting them to
// its format; false when the surface offers no device context.
bool BlitPixels(IDirectDrawSurface7* surface, const uint8_t* rgb, uint32_t width, uint32_t height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const size_t rowBytes = size_t{width} * 3, dibRowBytes = (rowBytes + 3) & ~size_t{3};
  info.bmiHeader.biSizeImage = static_cast<DWORD>(dibRowBytes * height);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib) return false;
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* in = rgb + rowBytes * y;
    uint8_t* out = static_cast<uint8_t*>(bits) + dibRowBytes * y;
    for (size_t i = 0; i < rowBytes; i += 3) {
      out[i] = in[i + 2];
      out[i + 1] = in[i + 1];
      out[i + 2] = in[i];
    }
  }
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(memory, dib);
  HDC dc = nullptr;
  const bool drawn = SUCCEEDED(surface->GetDC(&dc));
  if (drawn) {
    BitBlt(dc, 0, 0, static_cast<int>(width), static_cast<int>(height), memory, 0, 0, SRCCOPY);
    surface->ReleaseDC(dc);
  }
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(dib);
  return drawn;
}

// Without GDI: 16-bit formats take 4-4-4-4 pixels, 32-bit ones 0x00RRGGBB, alpha 0 in both.
void ConvertByHand(IDirectDrawSurface7* staging, const uint8_t* rgb, uint32_t width, uint32_t height) {
  DDSURFACEDESC2 desc = NewSurfaceDesc();
  HRESULT locked;
  do {
    locked = staging->Lock(nullptr, &desc, DDLOCK_SURFACEMEMORYPTR, nullptr);
  } while (locked == DDERR_WASSTILLDRAWING);
  if (FAILED(locked)) return;
  const uint32_t bits = desc.ddpfPixelFormat.dwRGBBitCount;
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* in = rgb + size_t{width} * 3 * y;
    uint8_t* out = static_cast<uint8_t*>(desc.lpSurface) + static_cast<intptr_t>(desc.lPitch) * y;
    for (uint32_t x = 0; x < width; ++x, in += 3) {
      if (bits == 16) {
        uint16_t pixel = static_cast<uint16_t>((in[0] >> 4) << 8 | (in[1] >> 4) << 4 | in[2] >> 4);
        std::memcpy(out + x * 2, &pixel, 2);
      } else if (bits == 32) {
        uint32_t pixel = uint32_t{in[0]} << 16 | uint32_t{in[1]} << 8 | in[2];
        std::memcpy(out + x * 4, &pixel, 4);
      }
    }
  }
  staging->Unlock(nullptr);
}

void KeyLevel(IDirectDrawSurface7* level, uint32_t flags) {
  DDSURFACEDESC2 desc = NewSurfaceDesc();
  if (FAILED(level->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_SURFACEMEMORYPTR, nullptr))) return;
  PixelFormat format;
  std::memcpy(&format, &desc.ddpfPixelFormat, sizeof format);
  KeyColourToAlpha(static_cast<uint8_t*>(desc.lpSurface), desc.lPitch, desc.dwWidth, desc.dwHeight, format,
                   (flags & KeyWhite) != 0);
  level->Unlock(nullptr);
}

}  // namespace

HRESULT CopyBitmapToSurface(IDirectDrawSurface7* surface, const BmpImage& bitmap, uint32_t flags) {
  IDirectDraw7* directDraw = nullptr;
  if (FAILED(surface->GetDDInterface(reinterpret_cast<void**>(&directDraw)))) return DD_OK;
  DDSURFACEDESC2 desc = NewSurfaceDesc();
  surface->GetSurfaceDesc(&desc);
  DDSURFACEDESC2 stagingDesc = NewSurfaceDesc();
  stagingDesc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
  stagingDesc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
  // The staging surface has the texture's size and the image is stretched over it here, around the key's pixels
  // when the key applies, so that it still finds them where the image had them.
  stagingDesc.dwWidth = desc.dwWidth;
  stagingDesc.dwHeight = desc.dwHeight;
  stagingDesc.ddpfPixelFormat = desc.ddpfPixelFormat;
  IDirectDrawSurface7* staging = nullptr;
  if (SUCCEEDED(directDraw->CreateSurface(&stagingDesc, &staging, nullptr))) {
    const uint32_t width = desc.dwWidth, height = desc.dwHeight;
    std::vector<uint8_t> rgb(size_t{width} * height * 3);
    const bool keyed = (desc.ddpfPixelFormat.dwRGBAlphaBitMask != 0) && (flags & (KeyWhite | KeyBlack));
    static constexpr uint8_t kWhite[3] = {255, 255, 255}, kBlack[3] = {0, 0, 0};
    const uint8_t* key = !keyed ? nullptr : (flags & KeyWhite) ? kWhite : kBlack;
    StretchImage(bitmap.rgb.data(), bitmap.width, bitmap.height, rgb.data(), static_cast<int32_t>(width),
                 static_cast<int32_t>(height), key);
    if (!BlitPixels(staging, rgb.data(), width, height)) ConvertByHand(staging, rgb.data(), width, height);
    if (SUCCEEDED(surface->Blt(nullptr, staging, nullptr, DDBLT_WAIT, nullptr)) && keyed) KeyLevel(surface, flags);
    staging->Release();
  }
  directDraw->Release();
  return DD_OK;
}

HRESULT RestoreTexture(const char* name, IDirect3DDevice7* device) {
  if (!device) return E_INVALIDARG;
  TextureEntry* entry = FindTexture(name);
  if (!entry) return static_cast<HRESULT>(kTextureNotFound);
  if (entry->surface) entry->releaseSurface(entry->surface);
  entry->surface = nullptr;
  D3DDEVICEDESC7 caps = {};
  if (FAILED(device->GetCaps(&caps))) return E_FAIL;

  DDSURFACEDESC2 desc = NewSurfaceDesc();
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_TEXTURESTAGE;
  desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
  desc.dwTextureStage = entry->stage;
  if (HardwareDevice(caps)) desc.ddsCaps.dwCaps2 = DDSCAPS2_TEXTUREMANAGE;
  uint32_t width = static_cast<uint32_t>(entry->bitmap.width), height = static_cast<uint32_t>(entry->bitmap.height);
  FitTextureSize(LimitsOf(caps), &width, &height);
  desc.dwWidth = width;
  desc.dwHeight = height;
  const uint32_t bitCount = (entry->flags & Prefer32) ? 32 : 16;
  const bool alpha = entry->hasAlpha;
  const FormatTest accept = [bitCount, alpha](const PixelFormat& f) { return AcceptsImageFormat(f, bitCount, alpha); };
  if (!FindTextureFormat(device, accept, &desc.ddpfPixelFormat)) return E_FAIL;
  auto* surface = CreateSurface(device, &desc);
  if (!surface) return E_FAIL;
  entry->surface = surface;
  entry->releaseSurface = ReleaseSurface;
  return CopyBitmapToSurface(surface, entry->bitmap, entry->flags);
}

IDirectDrawSurface7* CreateMipmappedTexture(IDirect3DDevice7* device, const uint8_t* bgr, uint32_t width,
                                            uint32_t height) {
  D3DDEVICEDESC7 caps = {};
  if (FAILED(device->GetCaps(&caps))) return nullptr;
  DDSURFACEDESC2 desc = NewSurfaceDesc();
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_MIPMAPCOUNT | DDSD_TEXTURESTAGE;
  desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX;
  desc.ddsCaps.dwCaps2 = DDSCAPS2_TEXTUREMANAGE;
  uint32_t fittedWidth = width, fittedHeight = height;
  FitTextureSize(LimitsOf(caps), &fittedWidth, &fittedHeight);
  desc.dwWidth = fittedWidth;
  desc.dwHeight = fittedHeight;
  desc.dwMipMapCount = MipLevelCount(static_cast<int32_t>(fittedWidth), static_cast<int32_t>(fittedHeight));
  if (!FindTextureFormat(device, AcceptsMipmapFormat, &desc.ddpfPixelFormat)) return nullptr;
  IDirectDrawSurface7* texture = CreateSurface(device, &desc);
  if (!texture) return nullptr;

  // Level 0 is the image stretched over the whole surface, each further level the one before halved, in the
  // OpenGL back end's row order so that both build the same chain.
  std::vector<uint8_t> rgb(size_t{width} * height * 3), level(size_t{fittedWidth} * fittedHeight * 3),
      half(level.size());
  RawPixelsToRgb(bgr, static_cast<int32_t>(width), static_cast<int32_t>(height), rgb.data());
  StretchImage(rgb.data(), static_cast<int32_t>(width), static_cast<int32_t>(height), level.data(),
               static_cast<int32_t>(fittedWidth), static_cast<int32_t>(fittedHeight), nullptr);
  width = fittedWidth;
  height = fittedHeight;
  IDirectDrawSurface7* surface = texture;
  surface->AddRef();
  for (uint32_t i = 0; i < desc.dwMipMapCount && surface; ++i) {
    if (i > 0) {
      HalveImage(level.data(), static_cast<int32_t>(width), static_cast<int32_t>(height), half.data());
      level.swap(half);
      width /= 2;
      height /= 2;
    }
    if (width > 0 && height > 0) BlitPixels(surface, level.data(), width, height);
    DDSCAPS2 mipCaps = {};
    mipCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP;
    IDirectDrawSurface7* next = nullptr;
    if (FAILED(surface->GetAttachedSurface(&mipCaps, &next))) next = nullptr;
    surface->Release();
    surface = next;
  }
  if (surface) surface->Release();
  return texture;
}

IDirectDrawSurface7* CreateRenderTargetTexture(IDirect3DDevice7* device, uint32_t width, uint32_t height,
                                               IDirectDrawSurface7* backBuffer) {
  D3DDEVICEDESC7 caps = {};
  if (FAILED(device->GetCaps(&caps))) return nullptr;
  DDSURFACEDESC2 desc = NewSurfaceDesc();
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
  desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE | DDSCAPS_VIDEOMEMORY;
  // Made only in the size asked for.
  uint32_t fittedWidth = width, fittedHeight = height;
  FitTextureSize(LimitsOf(caps), &fittedWidth, &fittedHeight);
  if (fittedWidth != width || fittedHeight != height) return nullptr;
  desc.dwWidth = width;
  desc.dwHeight = height;
  DDSURFACEDESC2 backDesc = NewSurfaceDesc();
  backBuffer->GetSurfaceDesc(&backDesc);
  PixelFormat wanted;
  std::memcpy(&wanted, &backDesc.ddpfPixelFormat, sizeof wanted);
  const FormatTest accept = [&wanted](const PixelFormat& f) { return AcceptsRenderTargetFormat(f, wanted); };
  if (!FindTextureFormat(device, accept, &desc.ddpfPixelFormat)) return nullptr;
  IDirectDrawSurface7* texture = CreateSurface(device, &desc);
  if (!texture) return nullptr;

  // A depth buffer like the render target's own; without it the texture still serves.
  IDirectDrawSurface7* target = nullptr;
  if (FAILED(device->GetRenderTarget(&target))) return texture;
  DDSCAPS2 depthCaps = {};
  depthCaps.dwCaps = DDSCAPS_ZBUFFER;
  IDirectDrawSurface7* targetDepth = nullptr;
  if (SUCCEEDED(target->GetAttachedSurface(&depthCaps, &targetDepth))) {
    DDSURFACEDESC2 depthDesc = NewSurfaceDesc();
    targetDepth->GetSurfaceDesc(&depthDesc);
    depthDesc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    depthDesc.dwWidth = width;
    depthDesc.dwHeight = height;
    if (IDirectDrawSurface7* depth = CreateSurface(device, &depthDesc)) {
      texture->AddAttachedSurface(depth);
      depth->Release();  // the texture keeps it
    }
    targetDepth->Release();
  }
  target->Release();
  return texture;
}

// Each Texture holds its own reference to its surface: the list remakes a file's surface whenever another
// Texture loads the same file, and the surfaces of scene pixels have no other owner.
void D3D7Renderer::LoadTexture(Texture* texture) {
  textures_.push_back(texture);
  texture->scaleU = texture->scaleV = 1.0f;
  IDirectDrawSurface7* surface = nullptr;
  if (texture->source == TextureRenderTarget) {
    surface = CreateRenderTargetTexture(device_, texture->width, texture->height, backBuffer_);
  } else if (texture->source == TextureImageFile) {
    const char* name = texture->fileName ? texture->fileName : "";
    AddTexture(name, texture->param1, texture->param2 == 1 ? KeyBlack | NeedsAlpha : 0);
    RestoreTexture(name, device_);
    surface = static_cast<IDirectDrawSurface7*>(FindTextureSurface(name));
    if (!surface) {
      ReportErrorDetail("Texture BMP File not found", name, true);
      return;
    }
    surface->AddRef();
    // The image's own size, not its surface's: quads and glyph cells are cut in image pixels, and the image
    // covers the whole surface.
    const BmpImage& image = FindTexture(name)->bitmap;
    texture->width = static_cast<uint16_t>(image.width);
    texture->height = static_cast<uint16_t>(image.height);
  } else if (texture->source == TextureRawPixels && texture->pixels &&
             texture->pixelBytes >= size_t{texture->width} * texture->height * 3) {
    surface = CreateMipmappedTexture(device_, texture->pixels, texture->width, texture->height);
  }
  texture->rendererData = reinterpret_cast<uintptr_t>(surface);
}

void D3D7Renderer::BindTexture(uint32_t stage, Texture* texture) {
  if (texture == currentTexture_) return;
  currentTexture_ = texture;
  device_->SetTexture(stage, texture ? reinterpret_cast<IDirectDrawSurface7*>(texture->rendererData) : nullptr);
}

// A later Texture at the same address must not pass for the current one; the device keeps its own reference to
// a texture it is drawing with.
void D3D7Renderer::ReleaseTexture(Texture* texture) {
  std::erase(textures_, texture);
  if (texture == currentTexture_) currentTexture_ = nullptr;
  if (auto* surface = reinterpret_cast<IDirectDrawSurface7*>(texture->rendererData)) surface->Release();
  texture->rendererData = 0;
}
