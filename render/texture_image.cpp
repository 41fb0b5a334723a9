// Texture images as the back ends prepare them: RGB rows top first, mip levels, the black colour key.
#include "render/texture_image.h"

#include <algorithm>
#include <bit>
#include <vector>

uint32_t PowerOfTwoNotBelow(uint32_t side) { return side > 0x80000000u ? side : std::bit_ceil(side); }

uint32_t MipLevelCount(int32_t width, int32_t height) {
  uint32_t levels = 1;
  for (int32_t side = std::min(width, height); side > 2; side /= 2) ++levels;
  return levels;
}

void RawPixelsToRgb(const uint8_t* bgr, int32_t width, int32_t height, uint8_t* rgb) {
  size_t rowBytes = static_cast<size_t>(width) * 3;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* src = bgr + rowBytes * (height - 1 - y);
    uint8_t* dst = rgb + rowBytes * y;
    for (size_t i = 0; i < rowBytes; i += 3) {
      dst[i] = src[i + 2];
      dst[i + 1] = src[i + 1];
      dst[i + 2] = src[i];
    }
  }
}

namespace {

// Where the centre of pixel i of a side of `to` pixels falls between two pixels of a side of `from`.
struct Tap {
  int32_t first, second;
  float weight;  // of the second
};

Tap TapUnder(int32_t i, int32_t from, int32_t to) {
  const double at = (i + 0.5) * from / to - 0.5;
  if (at <= 0) return {0, 0, 0.0f};
  const auto first = static_cast<int32_t>(at);
  return {first, std::min(first + 1, from - 1), static_cast<float>(at - first)};
}

}  // namespace

void StretchImage(const uint8_t* pixels, int32_t width, int32_t height, uint8_t* out, int32_t outWidth,
                  int32_t outHeight, const uint8_t* key) {
  std::vector<Tap> columns(static_cast<size_t>(outWidth));
  for (int32_t x = 0; x < outWidth; ++x) columns[static_cast<size_t>(x)] = TapUnder(x, width, outWidth);
  auto at = [&](int32_t x, int32_t y) { return pixels + (static_cast<size_t>(y) * width + x) * 3; };
  for (int32_t y = 0; y < outHeight; ++y) {
    const Tap row = TapUnder(y, height, outHeight);
    for (const Tap& column : columns) {
      const struct {
        const uint8_t* pixel;
        float weight;
      } taps[] = {{at(column.first, row.first), (1 - column.weight) * (1 - row.weight)},
                  {at(column.second, row.first), column.weight * (1 - row.weight)},
                  {at(column.first, row.second), (1 - column.weight) * row.weight},
                  {at(column.second, row.second), column.weight * row.weight}};
      float sum[3] = {}, cover = 0;
      for (const auto& tap : taps) {
        for (int c = 0; c < 3; ++c) sum[c] += tap.weight * tap.pixel[c];
        if (key && !std::equal(tap.pixel, tap.pixel + 3, key)) cover += tap.weight;
      }
      for (int c = 0; c < 3; ++c, ++out) *out = key && cover < 0.5f ? key[c] : static_cast<uint8_t>(sum[c] + 0.5f);
    }
  }
}

void HalveImage(const uint8_t* rgb, int32_t width, int32_t height, uint8_t* half) {
  int32_t halfWidth = width / 2, halfHeight = height / 2;
  size_t rowBytes = static_cast<size_t>(width) * 3;
  for (int32_t y = 0; y < halfHeight; ++y) {
    const uint8_t* top = rgb + rowBytes * (2 * y);
    const uint8_t* bottom = top + rowBytes;
    uint8_t* dst = half + static_cast<size_t>(halfWidth) * 3 * y;
    for (int32_t x = 0; x < halfWidth; ++x) {
      for (int c = 0; c < 3; ++c) {
        size_t left = static_cast<size_t>(x) * 6 + c;
        dst[x * 3 + c] = static_cast<uint8_t>((top[left] + top[left + 3] + bottom[left] + bottom[left + 3]) >> 2);
      }
    }
  }
}

void KeyBlackToAlpha(const uint8_t* rgb, size_t pixels, uint8_t* rgba) {
  for (size_t i = 0; i < pixels; ++i, rgb += 3, rgba += 4) {
    rgba[0] = rgb[0];
    rgba[1] = rgb[1];
    rgba[2] = rgb[2];
    rgba[3] = (rgb[0] | rgb[1] | rgb[2]) ? 255 : 0;
  }
}
