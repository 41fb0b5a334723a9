// Fuzz target: the bitmap decoder every back end reads file textures with.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "render/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BmpImage image;
  if (DecodeBmp(data, size, &image)) {
    // A decoded picture has sides in range and every pixel.
    if (image.width < 1 || image.width > kBmpMaxSide || image.height < 1 || image.height > kBmpMaxSide ||
        image.rgb.size() != static_cast<size_t>(image.width) * image.height * 3) {
      std::abort();
    }
  } else if (image.width != 0 || image.height != 0 || !image.rgb.empty()) {
    std::abort();  // a refused file leaves no picture
  }
  return 0;
}
