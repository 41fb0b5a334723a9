// Fuzz target: the bitmap decoder the OpenGL back end reads file textures with.
#include <cstddef>
#include <cstdint>

#include "render/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BmpImage image;
  DecodeBmp(data, size, &image);
  return 0;
}
