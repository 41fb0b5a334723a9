// Windows bitmap files (24-bit and 8-bit palette, uncompressed) decoded into RGB pixels.
#include "render/gl/bmp_file.h"

#include <cstdio>

namespace {

#pragma pack(push, 1)
struct BmpFileHeader {
  uint16_t type;  // "BM"
  uint32_t fileSize;
  uint16_t reserved1, reserved2;
  uint32_t pixelOffset;
};
struct BmpInfoHeader {
  uint32_t size;
  int32_t width;
  int32_t height;  // negative: rows stored top first
  uint16_t planes;
  uint16_t bitCount;
  uint32_t compression;
  uint32_t imageSize;
  int32_t xPelsPerMeter, yPelsPerMeter;
  uint32_t coloursUsed;
  uint32_t coloursImportant;
};
#pragma pack(pop)
static_assert(sizeof(BmpFileHeader) == 14);
static_assert(sizeof(BmpInfoHeader) == 40);

constexpr uint16_t kBmpMagic = 0x4D42;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kPaletteEntrySize = 4;

// Every read is checked against what is left; a failed read leaves the reader failed.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool ok() const { return ok_; }
  size_t Left() const { return ok_ ? size_ - pos_ : 0; }
  void Seek(size_t pos) {
    if (pos > size_) ok_ = false;
    else pos_ = pos;
  }
  const uint8_t* Take(size_t n) {
    if (!ok_ || n > size_ - pos_) {
      ok_ = false;
      return nullptr;
    }
    const uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
  }
  uint16_t U16() {
    const uint8_t* p = Take(2);
    return p ? static_cast<uint16_t>(p[0] | p[1] << 8) : 0;
  }
  uint32_t U32() {
    const uint8_t* p = Take(4);
    return p ? static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
                   static_cast<uint32_t>(p[3]) << 24
             : 0;
  }
  int32_t I32() { return static_cast<int32_t>(U32()); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

BmpFileHeader ReadFileHeader(ByteReader& in) {
  BmpFileHeader h;
  h.type = in.U16();
  h.fileSize = in.U32();
  h.reserved1 = in.U16();
  h.reserved2 = in.U16();
  h.pixelOffset = in.U32();
  return h;
}

BmpInfoHeader ReadInfoHeader(ByteReader& in) {
  BmpInfoHeader h;
  h.size = in.U32();
  h.width = in.I32();
  h.height = in.I32();
  h.planes = in.U16();
  h.bitCount = in.U16();
  h.compression = in.U32();
  h.imageSize = in.U32();
  h.xPelsPerMeter = in.I32();
  h.yPelsPerMeter = in.I32();
  h.coloursUsed = in.U32();
  h.coloursImportant = in.U32();
  return h;
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, BmpImage* image) {
  *image = {};
  ByteReader in(data, size);
  BmpFileHeader file = ReadFileHeader(in);
  BmpInfoHeader info = ReadInfoHeader(in);
  if (!in.ok() || file.type != kBmpMagic || info.size < sizeof(BmpInfoHeader)) return false;
  if (info.compression != kBiRgb || (info.bitCount != 24 && info.bitCount != 8)) return false;
  bool topDown = info.height < 0;
  // Checked before negating, so that the most negative height cannot overflow.
  if (info.width < 1 || info.width > kBmpMaxSide || info.height < -kBmpMaxSide || info.height > kBmpMaxSide ||
      info.height == 0) {
    return false;
  }
  int32_t width = info.width;
  int32_t height = topDown ? -info.height : info.height;

  uint8_t palette[256][3] = {};
  if (info.bitCount == 8) {
    uint32_t count = info.coloursUsed == 0 ? 256 : info.coloursUsed;
    if (count > 256) return false;
    in.Seek(sizeof(BmpFileHeader) + info.size);
    const uint8_t* entries = in.Take(count * kPaletteEntrySize);
    if (!entries) return false;
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* e = entries + i * kPaletteEntrySize;  // blue, green, red, unused
      palette[i][0] = e[2];
      palette[i][1] = e[1];
      palette[i][2] = e[0];
    }
  }

  size_t stride = ((static_cast<size_t>(width) * info.bitCount + 31) / 32) * 4;
  in.Seek(file.pixelOffset);
  if (!in.ok() || in.Left() / stride < static_cast<size_t>(height)) return false;
  const uint8_t* rows = in.Take(stride * height);

  image->width = width;
  image->height = height;
  image->rgb.resize(static_cast<size_t>(width) * height * 3);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* src = rows + stride * (topDown ? y : height - 1 - y);
    uint8_t* dst = image->rgb.data() + static_cast<size_t>(y) * width * 3;
    for (int32_t x = 0; x < width; ++x, dst += 3) {
      if (info.bitCount == 24) {
        dst[0] = src[x * 3 + 2];
        dst[1] = src[x * 3 + 1];
        dst[2] = src[x * 3];
      } else {
        // An index past a short palette reads black, as the palette is zero-filled.
        const uint8_t* c = palette[src[x]];
        dst[0] = c[0];
        dst[1] = c[1];
        dst[2] = c[2];
      }
    }
  }
  return true;
}

bool ReadBmpFile(const char* path, BmpImage* image) {
  *image = {};
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  std::vector<uint8_t> bytes;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  long size = ok ? std::ftell(f) : -1;
  ok = size >= 0 && static_cast<size_t>(size) <= kBmpMaxFileSize && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    bytes.resize(static_cast<size_t>(size));
    ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
  }
  std::fclose(f);
  return ok && DecodeBmp(bytes.data(), bytes.size(), image);
}
