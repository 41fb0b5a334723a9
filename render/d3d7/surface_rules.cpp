// The Direct3D 7 back end's rules over surfaces that need no device.
#include "render/d3d7/surface_rules.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "render/texture_image.h"

namespace {

constexpr uint32_t kOddFormatFlags = PixelLuminance | PixelBumpLuminance | PixelBumpDuDv;
void HalveToFit(uint32_t limit, uint32_t* side) {
  while (*side > limit) *side /= 2;
}

// Formats no texture of this back end is made in, whatever it wants.
bool OddFormat(const PixelFormat& format) {
  return (format.flags & (kOddFormatFlags | PixelFourCC)) != 0 || format.rgbBitCount < 16;
}

uint32_t ColourMask(const PixelFormat& format) { return format.redMask | format.greenMask | format.blueMask; }

uint32_t PlaceUnderMask(uint32_t component, uint32_t mask) {
  if (mask == 0) return 0;
  int top = 31 - std::countl_zero(mask);
  return ((component << 24) >> (31 - top)) & mask;
}

uint8_t WidenUnderMask(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  uint32_t value = (pixel & mask) >> std::countr_zero(mask);
  int bits = std::popcount(mask);
  if (bits >= 8) return static_cast<uint8_t>(value >> (bits - 8));
  uint32_t largest = (1u << bits) - 1;
  return static_cast<uint8_t>((value * 255 + largest / 2) / largest);
}

}  // namespace

void FitTextureSize(const TextureLimits& limits, uint32_t* width, uint32_t* height) {
  if (limits.textureCaps & TextureCapsPow2) {
    *width = PowerOfTwoNotBelow(*width);
    *height = PowerOfTwoNotBelow(*height);
  }
  if (limits.textureCaps & TextureCapsSquareOnly) *width = *height = std::max(*width, *height);
  HalveToFit(limits.maxWidth, width);
  HalveToFit(limits.maxHeight, height);
}

bool AcceptsImageFormat(const PixelFormat& format, uint32_t bitCount, bool alpha) {
  if (OddFormat(format)) return false;
  bool hasAlpha = (format.flags & PixelAlpha) != 0;
  return hasAlpha == alpha && format.rgbBitCount == bitCount;
}

bool AcceptsMipmapFormat(const PixelFormat& format) { return AcceptsImageFormat(format, 16, false); }

bool AcceptsRenderTargetFormat(const PixelFormat& format, const PixelFormat& backBuffer) {
  return !OddFormat(format) && !(format.flags & PixelAlpha) && format.rgbBitCount == backBuffer.rgbBitCount &&
         format.redMask == backBuffer.redMask && format.greenMask == backBuffer.greenMask &&
         format.blueMask == backBuffer.blueMask;
}

bool AcceptsDepthFormat(const PixelFormat& format) { return format.flags == PixelZBuffer; }

void KeyColourToAlpha(uint8_t* bits, int32_t pitch, uint32_t width, uint32_t height, const PixelFormat& format,
                      bool keyWhite) {
  const uint32_t bytes = format.rgbBitCount / 8;
  if ((bytes != 2 && bytes != 4) || format.alphaMask == 0) return;
  const uint32_t key = keyWhite ? ColourMask(format) : 0;
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* p = bits + static_cast<intptr_t>(pitch) * y;
    for (uint32_t x = 0; x < width; ++x, p += bytes) {
      uint32_t pixel = 0;
      std::memcpy(&pixel, p, bytes);  // little-endian: the low bytes of the word
      pixel &= ~format.alphaMask;
      if (pixel != key) pixel |= format.alphaMask;
      std::memcpy(p, &pixel, bytes);
    }
  }
}

uint32_t PackColour(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha, const PixelFormat& format) {
  return PlaceUnderMask(red, format.redMask) | PlaceUnderMask(green, format.greenMask) |
         PlaceUnderMask(blue, format.blueMask) | PlaceUnderMask(alpha, format.alphaMask);
}

void UnpackColour(uint32_t pixel, const PixelFormat& format, uint8_t rgb[3]) {
  rgb[0] = WidenUnderMask(pixel, format.redMask);
  rgb[1] = WidenUnderMask(pixel, format.greenMask);
  rgb[2] = WidenUnderMask(pixel, format.blueMask);
}
