// Texture images as the GL back ends upload them.
#include "render/texture_upload.h"

#include "render/bmp_file.h"
#include "render/texture_image.h"
#include "scene/texture.h"

namespace {

// The texture's param2 value that asks for pure black to be transparent.
constexpr uint32_t kKeyBlack = 1;

}  // namespace

bool RawMipChain::Start(const Texture& texture) {
  width_ = texture.width;
  height_ = texture.height;
  const size_t bytes = static_cast<size_t>(width_) * height_ * 3;
  levels_ = next_ = 0;
  if (!texture.pixels || bytes == 0 || texture.pixelBytes < bytes) return false;
  level_.resize(bytes);
  half_.resize(bytes);
  RawPixelsToRgb(texture.pixels, width_, height_, level_.data());
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
  image->width = bitmap.width;
  image->height = bitmap.height;
  image->keyed = texture->param2 == kKeyBlack;
  if (image->keyed) {
    const size_t pixels = static_cast<size_t>(bitmap.width) * bitmap.height;
    image->pixels.resize(pixels * 4);
    KeyBlackToAlpha(bitmap.rgb.data(), pixels, image->pixels.data());
  } else {
    image->pixels.swap(bitmap.rgb);
  }
  return true;
}
