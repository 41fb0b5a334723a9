// PNG pictures that qz2-tool writes, read back as RGB rows for the suites that check them.
#pragma once

#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

struct Picture {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgb;  // top row first, red first
  const uint8_t* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// False when the file cannot be read as a PNG picture.
inline bool ReadPng(const std::string& path, Picture& picture) {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  picture.width = image.width;
  picture.height = image.height;
  picture.rgb.resize(PNG_IMAGE_SIZE(image));
  return png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) != 0;
}
