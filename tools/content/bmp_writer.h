// Windows bitmap files for the content and the tests: 24-bit and 8-bit palette, uncompressed, bottom-up.
#pragma once

#include <cstdint>
#include <vector>

struct BmpColour {
  uint8_t red, green, blue;
};

// rgb: width x height pixels, red first, top row first.
std::vector<uint8_t> EncodeBmp24(int32_t width, int32_t height, const uint8_t* rgb);
// indices: width x height palette indices, top row first; the palette has 1 to 256 colours.
std::vector<uint8_t> EncodeBmp8(int32_t width, int32_t height, const uint8_t* indices,
                                const std::vector<BmpColour>& palette);
