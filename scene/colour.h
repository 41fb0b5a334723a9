// The four colour bytes of the scene records: blue, green, red, alpha at increasing addresses.
#pragma once

#include <cstddef>
#include <cstdint>

struct Colour {
  uint8_t blue, green, red, alpha;

  // The same bytes read as a little-endian 0xAARRGGBB word, the form colours cross the renderer in.
  uint32_t Word() const {
    return static_cast<uint32_t>(alpha) << 24 | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
           blue;
  }
};
static_assert(sizeof(Colour) == 4 && offsetof(Colour, blue) == 0 && offsetof(Colour, green) == 1 &&
              offsetof(Colour, red) == 2 && offsetof(Colour, alpha) == 3);
