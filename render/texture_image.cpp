// Texture images as the back ends prepare them: RGB rows top first, mip levels, the black colour key.
#include "render/texture_image.h"

#include <algorithm>

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

void StretchImage(const uint8_t* pixels, int32_t width, int32_t height, uint8_t* out, int32_t outWidth,
                  int32_t outHeight) {
  // The source pixel under the centre of pixel i: (i + 1/2) x from / to, in whole numbers.
  auto sourceOf = [](int64_t i, int64_t from, int64_t to) {
    return static_cast<size_t>((2 * i + 1) * from / (2 * to));
  };
  for (int32_t y = 0; y < outHeight; ++y) {
    const uint8_t* row = pixels + sourceOf(y, height, outHeight) * static_cast<size_t>(width) * 3;
    for (int32_t x = 0; x < outWidth; ++x, out += 3) {
      const uint8_t* p = row + sourceOf(x, width, outWidth) * 3;
      out[0] = p[0];
      out[1] = p[1];
      out[2] = p[2];
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
