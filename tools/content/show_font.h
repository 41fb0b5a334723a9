// The default show's font image "police1.bmp": one row of cells, "A" to "Z" then "0" to "9".
#pragma once

#include <cstdint>
#include <vector>

constexpr int kShowGlyphWidth = 26;
constexpr int kShowGlyphHeight = 32;

// The pixels of a font image one row of cells high, red first: the glyphs white on pure black, drawn in
// square dots of dotSize pixels (5 x 7 dots each), each centred in its cell.
std::vector<uint8_t> FontPixels(int cellWidth, int cellHeight, int dotSize, int imageWidth);
// A 24-bit bitmap of 1024 x 32 pixels: white glyphs on pure black, which the loader makes transparent.
std::vector<uint8_t> BuildShowFont();
