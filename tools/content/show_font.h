// The default show's font image "police1.bmp": one row of cells, "A" to "Z" then "0" to "9".
#pragma once

#include <cstdint>
#include <vector>

constexpr int kShowGlyphWidth = 26;
constexpr int kShowGlyphHeight = 32;

// A 24-bit bitmap of 1024 x 32 pixels: white glyphs on pure black, which the loader makes transparent.
std::vector<uint8_t> BuildShowFont();
