// Windows bitmap files decoded into RGB pixels, and the rule for which image file names are read at all.
//
// Read: core (12-byte), info (40, 52, 56), V4 (108) and V5 (124) headers; 1-, 4- and 8-bit palettes; 16-bit
// 5-5-5 and 16- and 32-bit bit fields; 24-bit; 32-bit; RLE8 and RLE4; rows bottom-up or top-down.
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

// False when the bytes are no bitmap of a supported kind or are damaged; image is then left empty. Pixels that
// the runs of a run-length file never reach take the palette's first colour, as in a picture of indices that
// starts all zero.
bool DecodeBmp(const uint8_t* data, size_t size, BmpImage* image);
// Reads and decodes a whole file; false when it is missing, too large or not a supported bitmap.
bool ReadBmpFile(const char* path, BmpImage* image);

// Image file names compare as the system's file calls compare them, without regard to letter case.
bool SameNameIgnoringCase(const char* a, const char* b);
// What an image file's name asks for: the last "." decides, in any letter case. A JPEG is named but never read.
enum class ImageName { Bitmap, Jpeg, OtherExtension, NoExtension };
ImageName ImageNameOf(const char* name);
// Reads the image file a texture names, on every back end: only a ".bmp" name whose file is a bitmap loads.
// Anything else reports the fatal "Texture BMP File not found" with the name and returns false.
bool LoadTextureImage(const char* name, BmpImage* image);
