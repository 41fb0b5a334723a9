// The Direct3D 7 back end's rules over surfaces that need no device: texture sizes, which pixel formats are taken,
// the colour key and colours packed into a pixel format.
#pragma once

#include <cstdint>

// Laid out as DDPIXELFORMAT for RGB formats (the union members this back end reads).
struct PixelFormat {
  uint32_t size;
  uint32_t flags;
  uint32_t fourCC;
  uint32_t rgbBitCount;
  uint32_t redMask;
  uint32_t greenMask;
  uint32_t blueMask;
  uint32_t alphaMask;
};
static_assert(sizeof(PixelFormat) == 32);

enum PixelFormatFlags : uint32_t {
  PixelAlpha = 0x1,  // DDPF_ALPHAPIXELS
  PixelFourCC = 0x4,
  PixelZBuffer = 0x400,
  PixelLuminance = 0x20000,
  PixelBumpLuminance = 0x40000,
  PixelBumpDuDv = 0x80000,
};

// The device's texture caps the size rules read (D3DPTEXTURECAPS_POW2, D3DPTEXTURECAPS_SQUAREONLY).
enum TextureCaps : uint32_t {
  TextureCapsPow2 = 0x2,
  TextureCapsSquareOnly = 0x20,
};

struct TextureLimits {
  uint32_t textureCaps;
  uint32_t maxWidth;
  uint32_t maxHeight;
};

// A surface's sides for an image: rounded up to powers of two and made square when the device needs it, then
// halved until they fit the device's maximum. The image is stretched over the whole surface, so texture
// coordinates and sizes stay those of the image (scales 1.0) whatever surface it gets.
void FitTextureSize(const TextureLimits& limits, uint32_t* width, uint32_t* height);

// The format of an image-file texture: bitCount RGB bits, alpha exactly when wanted. Images reach the texture
// manager as 24-bit pixels, so palette-indexed formats are never taken.
bool AcceptsImageFormat(const PixelFormat& format, uint32_t bitCount, bool alpha);
// The format of a mip-mapped scene texture: 16 RGB bits and no alpha.
bool AcceptsMipmapFormat(const PixelFormat& format);
// A texture drawn into: the back buffer's RGB bits and masks, no alpha.
bool AcceptsRenderTargetFormat(const PixelFormat& format, const PixelFormat& backBuffer);
// A depth buffer without stencil.
bool AcceptsDepthFormat(const PixelFormat& format);

// Alpha from the colour key over locked pixels of 2 or 4 bytes: pixels of the key colour (white: every red,
// green and blue bit; otherwise black) become fully transparent, all others fully opaque.
void KeyColourToAlpha(uint8_t* bits, int32_t pitch, uint32_t width, uint32_t height, const PixelFormat& format,
                      bool keyWhite);

// Each 0-255 component placed under its mask from the top bit down; an absent mask gives nothing.
uint32_t PackColour(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha, const PixelFormat& format);
// The red, green and blue of a pixel, each widened to 8 bits.
void UnpackColour(uint32_t pixel, const PixelFormat& format, uint8_t rgb[3]);
