// Windows bitmap files for the content and the tests: 24-bit and 8-bit palette, uncompressed, bottom-up.
#include "tools/content/bmp_writer.h"

#include <cstddef>

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

uint32_t RowStride(int32_t width, uint32_t bits) { return ((static_cast<uint32_t>(width) * bits + 31) / 32) * 4; }

// Both headers and the palette; the caller appends the rows, bottom row first.
std::vector<uint8_t> Headers(int32_t width, int32_t height, uint32_t bits, const std::vector<BmpColour>& palette) {
  uint32_t paletteBytes = static_cast<uint32_t>(palette.size()) * 4;
  uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + paletteBytes;
  uint32_t imageSize = RowStride(width, bits) * static_cast<uint32_t>(height);
  std::vector<uint8_t> out;
  out.reserve(pixelOffset + imageSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, pixelOffset + imageSize);
  Put32(out, 0);
  Put32(out, pixelOffset);
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, bits);
  Put32(out, 0);  // uncompressed
  Put32(out, imageSize);
  Put32(out, kPixelsPerMetre);
  Put32(out, kPixelsPerMetre);
  Put32(out, static_cast<uint32_t>(palette.size()));
  Put32(out, 0);
  for (const BmpColour& c : palette) {
    out.push_back(c.blue);
    out.push_back(c.green);
    out.push_back(c.red);
    out.push_back(0);
  }
  return out;
}

void PadRow(std::vector<uint8_t>& out, uint32_t written, uint32_t stride) {
  for (; written < stride; ++written) out.push_back(0);
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(int32_t width, int32_t height, const uint8_t* rgb) {
  std::vector<uint8_t> out = Headers(width, height, 24, {});
  uint32_t stride = RowStride(width, 24);
  for (int32_t y = height - 1; y >= 0; --y) {
    const uint8_t* row = rgb + static_cast<size_t>(y) * width * 3;
    for (int32_t x = 0; x < width; ++x) {
      out.push_back(row[x * 3 + 2]);
      out.push_back(row[x * 3 + 1]);
      out.push_back(row[x * 3]);
    }
    PadRow(out, static_cast<uint32_t>(width) * 3, stride);
  }
  return out;
}

std::vector<uint8_t> EncodeBmp8(int32_t width, int32_t height, const uint8_t* indices,
                                const std::vector<BmpColour>& palette) {
  std::vector<uint8_t> out = Headers(width, height, 8, palette);
  uint32_t stride = RowStride(width, 8);
  for (int32_t y = height - 1; y >= 0; --y) {
    const uint8_t* row = indices + static_cast<size_t>(y) * width;
    out.insert(out.end(), row, row + width);
    PadRow(out, static_cast<uint32_t>(width), stride);
  }
  return out;
}
