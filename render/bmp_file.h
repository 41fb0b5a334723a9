// Windows bitmap files (24-bit and 8-bit palette, uncompressed) decoded into RGB pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A larger side is refused: no texture of the show comes near it.
constexpr int32_t kBmpMaxSide = 8192;
constexpr size_t kBmpMaxFileSize = 64u << 20;

struct BmpImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;  // width x height pixels, red first, top row first
};

// False when the bytes are no bitmap of a supported kind; image is then left empty.
bool DecodeBmp(const uint8_t* data, size_t size, BmpImage* image);
// Reads and decodes a whole file; false when it is missing, too large or not a supported bitmap.
bool ReadBmpFile(const char* path, BmpImage* image);
