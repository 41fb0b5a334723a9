// Texture images as the GL back ends upload them: stretched onto sides of powers of two, as the reference
// device samples them.
#include "render/texture_upload.h"

#include "render/bmp_file.h"
#include "render/texture_image.h"
#include "scene/texture.h"

namespace {

// The texture's param2 value that asks for pure black to be transparent.
constexpr uint32_t kKeyBlack = 1;

}  // namespace

bool RawMipChain::Start(const Texture& texture) {
  const int32_t width = texture.width, height = texture.height;
  const size_t bytes = static_cast<size_t>(width) * height * 3;
  levels_ = next_ = 0;
  if (!texture.pixels || bytes == 0 || texture.pixelBytes < bytes) return false;
  width_ = static_cast<int32_t>(PowerOfTwoNotBelow(static_cast<uint32_t>(width)));
  height_ = static_cast<int32_t>(PowerOfTwoNotBelow(static_cast<uint32_t>(height)));
  level_.resize(static_cast<size_t>(width_) * height_ * 3);
  half_.resize(level_.size());
  if (width_ == width && height_ == height) {
    RawPixelsToRgb(texture.pixels, width, height, level_.data());
  } else {
    RawPixelsToRgb(texture.pixels, width, height, half_.data());
    StretchImage(half_.data(), width, height, level_.data(), width_, height_, nullptr);
  }
  levels_ = MipLevelCount(width_, height_);
  return true;
}

const uint8_t* RawMipChain::NextLevel(int32_t* width, int32_t* height) {
  if (next_++ > 0) {
    HalveImage(level_.data(), width_, height_, half_.data());
    level_.swap(half_);
    width_ /= 2;
    height_ /= 2;
  }
  *width = width_;
  *height = height_;
  return level_.data();
}

bool ReadTextureFile(Texture* texture, TextureFileImage* image) {
  BmpImage bitmap;
  if (!LoadTextureImage(texture->fileName, &bitmap)) return false;
  texture->width = static_cast<uint16_t>(bitmap.width);
  texture->height = static_cast<uint16_t>(bitmap.height);
  image->width = static_cast<int32_t>(PowerOfTwoNotBelow(static_cast<uint32_t>(bitmap.width)));
  image->height = static_cast<int32_t>(PowerOfTwoNotBelow(static_cast<uint32_t>(bitmap.height)));
  image->keyed = texture->param2 == kKeyBlack;
  const size_t pixels = static_cast<size_t>(image->width) * image->height;
  std::vector<uint8_t> rgb;
  if (pixels == static_cast<size_t>(bitmap.width) * bitmap.height) {
    rgb.swap(bitmap.rgb);
  } else {
    // Stretched around the key's pixels when the key applies, so that it still finds them where the image has them.
    static constexpr uint8_t kBlack[3] = {0, 0, 0};
    rgb.resize(pixels * 3);
    StretchImage(bitmap.rgb.data(), bitmap.width, bitmap.height, rgb.data(), image->width, image->height,
                 image->keyed ? kBlack : nullptr);
  }
  if (image->keyed) {
    image->pixels.resize(pixels * 4);
    KeyBlackToAlpha(rgb.data(), pixels, image->pixels.data());
  } else {
    image->pixels.swap(rgb);
  }
  return true;
}
