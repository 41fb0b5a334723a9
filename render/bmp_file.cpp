// Windows bitmap files (24-bit and 8-bit palette, uncompressed) decoded into RGB pixels.
#include "render/bmp_file.h"

#include "core/byte_reader.h"
#include "core/file.h"

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
  h.width = static_cast<int32_t>(in.U32());
  h.height = static_cast<int32_t>(in.U32());
  h.planes = in.U16();
  h.bitCount = in.U16();
  h.compression = in.U32();
  h.imageSize = in.U32();
  h.xPelsPerMeter = static_cast<int32_t>(in.U32());
  h.yPelsPerMeter = static_cast<int32_t>(in.U32());
  h.coloursUsed = in.U32();
  h.coloursImportant = in.U32();
  return h;
}

// The bytes from offset on, or an empty reader when offset lies past the end.
ByteReader From(const uint8_t* data, size_t size, size_t offset) {
  return offset <= size ? ByteReader(data + offset, size - offset) : ByteReader(data, 0);
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, BmpImage* image) {
  *image = {};
  ByteReader in(data, size);
  BmpFileHeader file = ReadFileHeader(in);
  BmpInfoHeader info = ReadInfoHeader(in);
  if (in.Failed() || file.type != kBmpMagic || info.size < sizeof(BmpInfoHeader)) return false;
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
    ByteReader table = From(data, size, sizeof(BmpFileHeader) + size_t{info.size});
    const uint8_t* entries = table.Bytes(count * kPaletteEntrySize);
    if (!entries) return false;
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* e = entries + i * kPaletteEntrySize;  // blue, green, red, unused
      palette[i][0] = e[2];
      palette[i][1] = e[1];
      palette[i][2] = e[0];
    }
  }

  size_t stride = ((static_cast<size_t>(width) * info.bitCount + 31) / 32) * 4;
  ByteReader pixels = From(data, size, file.pixelOffset);
  // Both sides are bounded by kBmpMaxSide, so the product cannot overflow.
  const uint8_t* rows = pixels.Bytes(stride * height);
  if (!rows) return false;

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
  std::vector<uint8_t> bytes;
  return File_ReadAll(path, kBmpMaxFileSize, bytes) && DecodeBmp(bytes.data(), bytes.size(), image);
}
