// The four colour bytes of the scene records: blue, green, red, alpha at increasing addresses.
#pragma once

#include <cstdint>

struct Colour {
  uint8_t blue, green, red, alpha;

  // The same bytes read as a little-endian 0xAARRGGBB word, the form colours cross the renderer in.
  uint32_t Word() const {
    return static_cast<uint32_t>(alpha) << 24 | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
           blue;
  }
};
static_assert(sizeof(Colour) == 4);
