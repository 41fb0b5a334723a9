// Windows bitmap files decoded into RGB pixels, and the rule for which image file names are read at all.
#include "render/bmp_file.h"

#include <bit>
#include <cctype>
#include <cstring>

#include "core/byte_reader.h"
#include "core/error.h"
#include "core/file.h"

namespace {

constexpr uint16_t kBmpMark = 0x4D42;  // "BM"
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kInfoMasksHeaderSize = 52;  // the info header with its masks inside
constexpr uint32_t kInfoAlphaHeaderSize = 56;  // ... and an alpha mask
constexpr uint32_t kV4HeaderSize = 108;
constexpr uint32_t kV5HeaderSize = 124;
constexpr uint32_t kMasksSize = 12;
constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;
constexpr uint32_t kMaxPaletteSize = 256;

// The header after the file header, kept whole in one buffer, so that the core header's 16-bit fields and the
// later headers' 32-bit ones read alike. The masks that follow a 40-byte header take the place they have inside
// the longer ones.
class DibHeader {
 public:
  // False when the size is none a loader knows, or the file ends inside the header.
  bool Read(ByteReader& in) {
    size_ = ByteReader(in).U32();
    if (size_ != kCoreHeaderSize && size_ != kInfoHeaderSize && size_ != kInfoMasksHeaderSize &&
        size_ != kInfoAlphaHeaderSize && size_ != kV4HeaderSize && size_ != kV5HeaderSize) {
      return false;
    }
    const uint8_t* bytes = in.Bytes(size_);
    if (!bytes) return false;
    std::memcpy(bytes_, bytes, size_);
    if (size_ == kInfoHeaderSize && Compression() == kBiBitfields) {
      const uint8_t* masks = in.Bytes(kMasksSize);
      if (!masks) return false;
      std::memcpy(bytes_ + kInfoHeaderSize, masks, kMasksSize);
    }
    return true;
  }

  bool IsCore() const { return size_ == kCoreHeaderSize; }
  int32_t Width() const { return IsCore() ? U16At(4) : static_cast<int32_t>(U32At(4)); }
  // Negative: rows stored top row first.
  int32_t Height() const { return IsCore() ? U16At(6) : static_cast<int32_t>(U32At(8)); }
  uint32_t Planes() const { return U16At(IsCore() ? 8 : 12); }
  uint32_t BitCount() const { return U16At(IsCore() ? 10 : 14); }
  uint32_t Compression() const { return IsCore() ? kBiRgb : U32At(16); }
  uint32_t ColoursUsed() const { return IsCore() ? 0 : U32At(32); }
  // Red, green and blue in turn.
  uint32_t Mask(int channel) const { return U32At(40 + 4 * channel); }
  uint32_t PaletteEntrySize() const { return IsCore() ? 3 : 4; }

 private:
  uint32_t U16At(size_t offset) const { return ByteReader(bytes_ + offset, sizeof(bytes_) - offset).U16(); }
  uint32_t U32At(size_t offset) const { return ByteReader(bytes_ + offset, sizeof(bytes_) - offset).U32(); }

  uint8_t bytes_[kV5HeaderSize] = {};
  uint32_t size_ = 0;
};

// Where a channel sits in a 16-, 24- or 32-bit pixel: its lowest bit and its largest value.
struct Field {
  uint32_t shift;
  uint32_t top;
};

// One mask's field; false when it is empty, has holes, overlaps one before it or lies past the pixel.
bool MakeField(uint32_t mask, uint32_t bits, uint32_t& taken, Field& field) {
  if (mask == 0 || (mask & taken) || (bits < 32 && mask >> bits)) return false;
  field.shift = static_cast<uint32_t>(std::countr_zero(mask));
  field.top = mask >> field.shift;
  taken |= mask;
  return (field.top & (field.top + 1)) == 0;
}

uint8_t Channel(uint32_t pixel, Field f) {
  return static_cast<uint8_t>((((pixel >> f.shift) & f.top) * uint64_t{255} + f.top / 2) / f.top);
}

// The bytes from offset on, or an empty reader when offset lies past the end.
ByteReader From(const uint8_t* data, size_t size, size_t offset) {
  return offset <= size ? ByteReader(data + offset, size - offset) : ByteReader(data, 0);
}

// Pixel x of a row: a palette index, or the little-endian bytes of a 16-, 24- or 32-bit pixel.
uint32_t PixelAt(const uint8_t* row, int32_t x, uint32_t bits) {
  size_t bit = static_cast<size_t>(x) * bits;
  if (bits < 8) return (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
  uint32_t value = 0;
  for (uint32_t b = 0; b < bits / 8; ++b) value |= static_cast<uint32_t>(row[bit / 8 + b]) << 8 * b;
  return value;
}

using Palette = uint8_t[kMaxPaletteSize][3];

// The runs of RLE8 or RLE4 palette indices, bottom row first, until the end of the bitmap, over a picture
// already of the first colour.
bool DecodeRuns(ByteReader in, uint32_t bits, const Palette& palette, BmpImage* image) {
  int32_t x = 0, y = 0;  // y counts rows from the bottom
  auto put = [&](uint32_t index) {
    if (x >= image->width || y >= image->height) return false;
    uint8_t* dst = image->rgb.data() + (static_cast<size_t>(image->height - 1 - y) * image->width + x) * 3;
    std::memcpy(dst, palette[index], 3);
    ++x;
    return true;
  };
  // The i-th index of a run or a literal whose bytes hold one (RLE8) or two (RLE4) indices.
  auto index = [bits](uint8_t byte, uint32_t i) { return bits == 8 ? byte : (i % 2 ? byte & 15u : byte >> 4u); };
  for (;;) {
    uint8_t count = in.U8(), code = in.U8();
    if (in.Failed()) return false;
    if (count > 0) {
      for (uint32_t i = 0; i < count; ++i) {
        if (!put(index(code, i))) return false;
      }
    } else if (code == 0) {  // end of line
      if (y >= image->height) return false;
      x = 0;
      ++y;
    } else if (code == 1) {  // end of bitmap
      return true;
    } else if (code == 2) {  // delta: right and up
      x += in.U8();
      y += in.U8();
      if (in.Failed() || x > image->width || y >= image->height) return false;
    } else {  // literal indices, padded to 16 bits
      size_t bytes = bits == 8 ? code : (code + 1u) / 2;
      const uint8_t* literal = in.Bytes((bytes + 1) & ~size_t{1});
      if (!literal) return false;
      for (uint32_t i = 0; i < code; ++i) {
        if (!put(index(literal[bits == 8 ? i : i / 2], i))) return false;
      }
    }
  }
}

bool SupportedDepth(const DibHeader& dib) {
  uint32_t bits = dib.BitCount();
  switch (dib.Compression()) {
    case kBiRgb:
      return bits == 1 || bits == 4 || bits == 8 || bits == 24 || (!dib.IsCore() && (bits == 16 || bits == 32));
    case kBiRle8:
      return bits == 8;
    case kBiRle4:
      return bits == 4;
    case kBiBitfields:
      return bits == 16 || bits == 32;
    default:
      return false;  // JPEG, PNG and anything newer
  }
}

bool DecodeChecked(const uint8_t* data, size_t size, BmpImage* image) {
  ByteReader in(data, size);
  uint16_t mark = in.U16();
  in.Bytes(8);  // the file size and two reserved words, which loaders ignore
  uint32_t pixelOffset = in.U32();
  DibHeader dib;
  if (in.Failed() || mark != kBmpMark || !dib.Read(in) || dib.Planes() != 1 || !SupportedDepth(dib)) return false;
  int32_t width = dib.Width(), height = dib.Height();
  // Checked before negating, so that the most negative height cannot overflow.
  if (width < 1 || width > kBmpMaxSide || height < -kBmpMaxSide || height > kBmpMaxSide || height == 0) return false;
  bool topDown = height < 0;
  bool runs = dib.Compression() == kBiRle8 || dib.Compression() == kBiRle4;
  if (topDown && runs) return false;
  height = topDown ? -height : height;
  uint32_t bits = dib.BitCount();

  Palette palette = {};  // an index past a short palette reads black
  Field fields[3] = {};
  if (bits <= 8) {
    uint32_t count = dib.ColoursUsed() == 0 ? 1u << bits : dib.ColoursUsed();
    if (count > 1u << bits) return false;
    const uint8_t* entries = in.Bytes(count * dib.PaletteEntrySize());
    if (!entries) return false;
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* e = entries + i * dib.PaletteEntrySize();  // blue, green, red
      palette[i][0] = e[2];
      palette[i][1] = e[1];
      palette[i][2] = e[0];
    }
  } else {
    uint32_t taken = 0;
    for (int c = 0; c < 3; ++c) {
      static constexpr uint32_t k555[3] = {0x7C00, 0x03E0, 0x001F};
      static constexpr uint32_t k888[3] = {0xFF0000, 0xFF00, 0xFF};
      uint32_t mask = dib.Compression() == kBiBitfields ? dib.Mask(c) : bits == 16 ? k555[c] : k888[c];
      if (!MakeField(mask, bits, taken, fields[c])) return false;
    }
  }

  ByteReader pixels = From(data, size, pixelOffset);
  size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  // Both sides are bounded by kBmpMaxSide, so the product cannot overflow; uncompressed rows must all be there
  // before the picture is made.
  const uint8_t* rows = runs ? nullptr : pixels.Bytes(stride * height);
  if (!runs && !rows) return false;
  image->width = width;
  image->height = height;
  image->rgb.resize(static_cast<size_t>(width) * height * 3);
  if (runs) {
    for (size_t i = 0; i < image->rgb.size(); i += 3) std::memcpy(&image->rgb[i], palette[0], 3);
    return DecodeRuns(pixels, bits, palette, image);
  }

  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* src = rows + stride * (topDown ? y : height - 1 - y);
    uint8_t* dst = image->rgb.data() + static_cast<size_t>(y) * width * 3;
    for (int32_t x = 0; x < width; ++x, dst += 3) {
      uint32_t pixel = PixelAt(src, x, bits);
      if (bits <= 8) {
        std::memcpy(dst, palette[pixel], 3);
      } else {
        for (int c = 0; c < 3; ++c) dst[c] = Channel(pixel, fields[c]);
      }
    }
  }
  return true;
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, BmpImage* image) {
  if (DecodeChecked(data, size, image)) return true;
  *image = {};
  return false;
}

bool ReadBmpFile(const char* path, BmpImage* image) {
  *image = {};
  std::vector<uint8_t> bytes;
  return File_ReadAll(path, kBmpMaxFileSize, bytes) && DecodeBmp(bytes.data(), bytes.size(), image);
}

bool SameNameIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
  }
  return *a == *b;
}

ImageName ImageNameOf(const char* name) {
  const char* extension = std::strrchr(name, '.');
  if (!extension) return ImageName::NoExtension;
  if (SameNameIgnoringCase(extension, ".bmp")) return ImageName::Bitmap;
  return SameNameIgnoringCase(extension, ".jpg") ? ImageName::Jpeg : ImageName::OtherExtension;
}

bool LoadTextureImage(const char* name, BmpImage* image) {
  *image = {};
  if (name && ImageNameOf(name) == ImageName::Bitmap && ReadBmpFile(name, image)) return true;
  ReportErrorDetail("Texture BMP File not found", name ? name : "", true);
  return false;
}
