// Windows bitmap files for the content and the tests, in every header, pixel and compression kind the reader takes.
#pragma once

#include <cstdint>
#include <vector>

struct BmpColour {
  uint8_t red, green, blue;
};

// width x height pixels, red first, top row first.
struct BmpPicture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;
};

// Header, pixel size and compression of a file. Rows are stored bottom row first unless the kind says otherwise.
enum class BmpKind {
  Core24,  // 12-byte header
  Core8,   // 12-byte header, 3-byte palette entries
  Info1,   // 40-byte header from here on
  Info4,
  Info8,
  Info16_555,           // no bit fields: 5-5-5
  Info16_565Bitfields,  // masks after the header
  Info24,
  Info32,           // no bit fields: 8-8-8 and an unused byte
  Info32Bitfields,  // 10-10-10 masks, wider than a byte
  Rle8,
  Rle4,
  V4_24,           // 108-byte header
  V5_32Bitfields,  // 124-byte header, masks in it: blue in the top byte, red in the second
  TopDown24,       // rows stored top row first
};

// The picture as a file of the kind. Palette kinds take the picture's colours in order of first appearance and
// assume there are few enough for the kind (2, 16 or 256). Channels are rounded to the kind's bit fields.
// Run-length kinds leave the pixels of the first colour unwritten (skipped by deltas, ends of line and the end
// of the bitmap), which the reader reads back as that colour.
std::vector<uint8_t> BuildBmp(const BmpPicture& picture, BmpKind kind);

// rgb: width x height pixels, red first, top row first; an Info24 file.
std::vector<uint8_t> EncodeBmp24(int32_t width, int32_t height, const uint8_t* rgb);
// indices: width x height palette indices, top row first; the palette has 1 to 256 colours. An Info8 file.
std::vector<uint8_t> EncodeBmp8(int32_t width, int32_t height, const uint8_t* indices,
                                const std::vector<BmpColour>& palette);
