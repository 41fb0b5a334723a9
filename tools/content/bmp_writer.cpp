// Windows bitmap files for the content and the tests, in every header, pixel and compression kind the reader takes.
#include "tools/content/bmp_writer.h"

#include <algorithm>
#include <bit>
#include <cstddef>

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV4HeaderSize = 108;
constexpr uint32_t kV5HeaderSize = 124;
constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;
constexpr uint32_t kSrgbColourSpace = 0x73524742;  // "sRGB"
constexpr uint32_t kImageIntent = 4;
constexpr int32_t kPixelsPerMetre = 2835;  // 72 dots per inch
constexpr uint32_t kLongestRun = 255;

// What a kind's file holds. Masks are red, green, blue; palette kinds have none.
struct Layout {
  uint32_t headerSize;
  uint16_t bits;
  uint32_t compression;
  uint32_t masks[3];
  bool topDown;
};

Layout LayoutOf(BmpKind kind) {
  constexpr uint32_t k888[3] = {0xFF0000, 0xFF00, 0xFF};
  switch (kind) {
    case BmpKind::Core24:
      return {kCoreHeaderSize, 24, kBiRgb, {k888[0], k888[1], k888[2]}, false};
    case BmpKind::Core8:
      return {kCoreHeaderSize, 8, kBiRgb, {}, false};
    case BmpKind::Info1:
      return {kInfoHeaderSize, 1, kBiRgb, {}, false};
    case BmpKind::Info4:
      return {kInfoHeaderSize, 4, kBiRgb, {}, false};
    case BmpKind::Info8:
      return {kInfoHeaderSize, 8, kBiRgb, {}, false};
    case BmpKind::Info16_555:
      return {kInfoHeaderSize, 16, kBiRgb, {0x7C00, 0x03E0, 0x001F}, false};
    case BmpKind::Info16_565Bitfields:
      return {kInfoHeaderSize, 16, kBiBitfields, {0xF800, 0x07E0, 0x001F}, false};
    case BmpKind::Info24:
      return {kInfoHeaderSize, 24, kBiRgb, {k888[0], k888[1], k888[2]}, false};
    case BmpKind::Info32:
      return {kInfoHeaderSize, 32, kBiRgb, {k888[0], k888[1], k888[2]}, false};
    case BmpKind::Info32Bitfields:
      return {kInfoHeaderSize, 32, kBiBitfields, {0x3FF00000, 0x000FFC00, 0x000003FF}, false};
    case BmpKind::Rle8:
      return {kInfoHeaderSize, 8, kBiRle8, {}, false};
    case BmpKind::Rle4:
      return {kInfoHeaderSize, 4, kBiRle4, {}, false};
    case BmpKind::V4_24:
      return {kV4HeaderSize, 24, kBiRgb, {k888[0], k888[1], k888[2]}, false};
    case BmpKind::V5_32Bitfields:
      return {kV5HeaderSize, 32, kBiBitfields, {0x0000FF00, 0x00FF0000, 0xFF000000}, false};
    case BmpKind::TopDown24:
      return {kInfoHeaderSize, 24, kBiRgb, {k888[0], k888[1], k888[2]}, true};
  }
  return {};
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A channel rounded to the field its mask covers.
uint32_t PackChannel(uint8_t value, uint32_t mask) {
  int shift = std::countr_zero(mask);
  uint64_t top = mask >> shift;
  return static_cast<uint32_t>((value * top + 127) / 255) << shift;
}

// Each pixel as the number the file stores, top row first: its palette index, or its channels in the masks.
std::vector<uint32_t> PixelValues(const BmpPicture& picture, const Layout& layout, std::vector<BmpColour>& palette) {
  size_t count = static_cast<size_t>(picture.width) * picture.height;
  std::vector<uint32_t> values(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = picture.rgb.data() + i * 3;
    if (layout.bits > 8) {
      for (int c = 0; c < 3; ++c) values[i] |= PackChannel(p[c], layout.masks[c]);
      continue;
    }
    auto same = [p](const BmpColour& c) { return c.red == p[0] && c.green == p[1] && c.blue == p[2]; };
    auto found = std::find_if(palette.begin(), palette.end(), same);
    values[i] = static_cast<uint32_t>(found - palette.begin());
    if (found == palette.end()) palette.push_back({p[0], p[1], p[2]});
  }
  return values;
}

uint32_t RowStride(int32_t width, uint32_t bits) { return ((static_cast<uint32_t>(width) * bits + 31) / 32) * 4; }

// The picture row the file's row i holds.
int32_t PictureRow(const Layout& layout, int32_t height, int32_t i) { return layout.topDown ? i : height - 1 - i; }

void PutRows(std::vector<uint8_t>& out, const Layout& layout, int32_t width, int32_t height,
             const std::vector<uint32_t>& values) {
  for (int32_t i = 0; i < height; ++i) {
    const uint32_t* row = values.data() + static_cast<size_t>(PictureRow(layout, height, i)) * width;
    std::vector<uint8_t> bytes(RowStride(width, layout.bits));
    for (int32_t x = 0; x < width; ++x) {
      uint32_t bit = static_cast<uint32_t>(x) * layout.bits;
      if (layout.bits < 8) {
        bytes[bit / 8] |= static_cast<uint8_t>(row[x] << (8 - layout.bits - bit % 8));  // leftmost pixel highest
        continue;
      }
      for (uint32_t b = 0; b < layout.bits / 8u; ++b) bytes[bit / 8 + b] = static_cast<uint8_t>(row[x] >> 8 * b);
    }
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
}

// Runs of two or more equal pixels are coded as runs, other stretches of three or more literally, stretches of
// index 0 skipped. Palette indices fit the pixel size, so an index repeated in a byte makes a run of RLE4.
void PutRuns(std::vector<uint8_t>& out, const Layout& layout, int32_t width, int32_t height,
             const std::vector<uint32_t>& values) {
  uint32_t bits = layout.bits;
  auto runByte = [bits](uint32_t v) { return static_cast<uint8_t>(bits == 4 ? v << 4 | v : v); };
  for (int32_t i = 0; i < height; ++i) {
    size_t start = static_cast<size_t>(PictureRow(layout, height, i)) * width;
    auto skipped = [&](int32_t x) { return values[start + x] == 0; };
    auto runAt = [&](int32_t x) {
      int32_t n = 1;
      while (x + n < width && n < static_cast<int32_t>(kLongestRun) && !skipped(x + n) &&
             values[start + x + n] == values[start + x]) {
        ++n;
      }
      return n;
    };
    int32_t x = 0;
    while (x < width) {
      if (skipped(x)) {
        int32_t n = 0;
        while (x + n < width && n < static_cast<int32_t>(kLongestRun) && skipped(x + n)) ++n;
        if (x + n == width) break;  // the end of the line skips the rest
        out.insert(out.end(), {0, 2, static_cast<uint8_t>(n), 0});
        x += n;
        continue;
      }
      int32_t run = runAt(x);
      int32_t literal = 0;
      while (x + literal < width && literal < static_cast<int32_t>(kLongestRun) && !skipped(x + literal) &&
             runAt(x + literal) < 2) {
        ++literal;
      }
      if (run >= 2 || literal < 3) {
        out.insert(out.end(), {static_cast<uint8_t>(run), runByte(values[start + x])});
        x += run;
        continue;
      }
      out.insert(out.end(), {0, static_cast<uint8_t>(literal)});
      size_t first = out.size();
      for (int32_t k = 0; k < literal; ++k) {
        uint32_t v = values[start + x + k];
        if (bits == 8) {
          out.push_back(static_cast<uint8_t>(v));
        } else if (k % 2 == 0) {
          out.push_back(static_cast<uint8_t>(v << 4));
        } else {
          out.back() |= static_cast<uint8_t>(v);
        }
      }
      if ((out.size() - first) % 2) out.push_back(0);  // literals end on a 16-bit boundary
      x += literal;
    }
    bool restSkipped = true;
    for (int32_t j = i + 1; j < height && restSkipped; ++j) {
      auto row = values.begin() + static_cast<ptrdiff_t>(PictureRow(layout, height, j)) * width;
      restSkipped = std::all_of(row, row + width, [](uint32_t v) { return v == 0; });
    }
    if (restSkipped) break;
    out.insert(out.end(), {0, 0});
  }
  out.insert(out.end(), {0, 1});
}

bool IsRunLength(const Layout& layout) { return layout.compression == kBiRle8 || layout.compression == kBiRle4; }

std::vector<uint8_t> Encode(const Layout& layout, int32_t width, int32_t height, const std::vector<uint32_t>& values,
                            const std::vector<BmpColour>& palette) {
  std::vector<uint8_t> pixels;
  if (IsRunLength(layout)) {
    PutRuns(pixels, layout, width, height, values);
  } else {
    PutRows(pixels, layout, width, height, values);
  }
  bool core = layout.headerSize == kCoreHeaderSize;
  bool masksAfterHeader = layout.headerSize == kInfoHeaderSize && layout.compression == kBiBitfields;
  // Core palettes always have an entry for every index.
  size_t entries = core && layout.bits <= 8 ? size_t{1} << layout.bits : palette.size();
  uint32_t pixelOffset = kFileHeaderSize + layout.headerSize + (masksAfterHeader ? 12 : 0) +
                         static_cast<uint32_t>(entries) * (core ? 3 : 4);
  auto size = static_cast<uint32_t>(pixels.size());

  std::vector<uint8_t> out = {'B', 'M'};
  Put32(out, pixelOffset + size);
  Put32(out, 0);
  Put32(out, pixelOffset);
  Put32(out, layout.headerSize);
  if (core) {
    Put16(out, static_cast<uint32_t>(width));
    Put16(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, layout.bits);
  } else {
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(layout.topDown ? -height : height));
    Put16(out, 1);
    Put16(out, layout.bits);
    Put32(out, layout.compression);
    Put32(out, size);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, static_cast<uint32_t>(palette.size()));
    Put32(out, 0);
  }
  if (masksAfterHeader || layout.headerSize >= kV4HeaderSize) {
    for (uint32_t mask : layout.masks) Put32(out, layout.compression == kBiBitfields ? mask : 0);
  }
  if (layout.headerSize >= kV4HeaderSize) {
    Put32(out, 0);  // no alpha
    Put32(out, kSrgbColourSpace);
    out.resize(kFileHeaderSize + kV4HeaderSize);  // end points and gamma, unused for sRGB
  }
  if (layout.headerSize == kV5HeaderSize) {
    Put32(out, kImageIntent);
    out.resize(kFileHeaderSize + kV5HeaderSize);  // no profile
  }
  for (size_t i = 0; i < entries; ++i) {
    BmpColour c = i < palette.size() ? palette[i] : BmpColour{0, 0, 0};
    out.insert(out.end(), {c.blue, c.green, c.red});
    if (!core) out.push_back(0);
  }
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

}  // namespace

std::vector<uint8_t> BuildBmp(const BmpPicture& picture, BmpKind kind) {
  Layout layout = LayoutOf(kind);
  std::vector<BmpColour> palette;
  std::vector<uint32_t> values = PixelValues(picture, layout, palette);
  return Encode(layout, picture.width, picture.height, values, palette);
}

std::vector<uint8_t> EncodeBmp24(int32_t width, int32_t height, const uint8_t* rgb) {
  return BuildBmp({width, height, std::vector<uint8_t>(rgb, rgb + static_cast<size_t>(width) * height * 3)},
                  BmpKind::Info24);
}

std::vector<uint8_t> EncodeBmp8(int32_t width, int32_t height, const uint8_t* indices,
                                const std::vector<BmpColour>& palette) {
  std::vector<uint32_t> values(indices, indices + static_cast<size_t>(width) * height);
  return Encode(LayoutOf(BmpKind::Info8), width, height, values, palette);
}
