// PNG files of 8-bit RGB pictures: the image data in stored (uncompressed) deflate blocks.
#include "tools/qz2_tool/png_file.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "core/file.h"
#include "core/crc32.h"

namespace {

constexpr size_t kStoredBlockMax = 65535;

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// Length, type, data, then the CRC of type and data.
void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  PutBigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBigEndian(out, Crc32(0, out.data() + typeAt, out.size() - typeAt));
}

// A zlib stream of stored blocks around the bytes.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out = {0x78, 0x01};
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  size_t at = 0;
  do {
    const size_t length = std::min(kStoredBlockMax, raw.size() - at);
    const bool last = at + length == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<uint8_t>(length));
    out.push_back(static_cast<uint8_t>(length >> 8));
    out.push_back(static_cast<uint8_t>(~length));
    out.push_back(static_cast<uint8_t>(~length >> 8));
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
               raw.begin() + static_cast<std::ptrdiff_t>(at + length));
    at += length;
  } while (at < raw.size());
  PutBigEndian(out, b << 16 | a);
  return out;
}

}  // namespace

bool WritePng(const char* path, const std::vector<uint8_t>& rgb, int32_t width, int32_t height) {
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  if (width <= 0 || height <= 0 || rgb.size() != rowBytes * static_cast<size_t>(height)) return false;
  std::vector<uint8_t> header;
  PutBigEndian(header, static_cast<uint32_t>(width));
  PutBigEndian(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
  // Each row starts with its filter type, 0: none.
  std::vector<uint8_t> raw;
  raw.reserve((rowBytes + 1) * static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes * y),
               rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes * (y + 1)));
  }
  std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(file, "IHDR", header);
  PutChunk(file, "IDAT", StoredZlib(raw));
  PutChunk(file, "IEND", {});
  std::unique_ptr<std::FILE, FileCloser> out(std::fopen(path, "wb"));
  return out && std::fwrite(file.data(), 1, file.size(), out.get()) == file.size();
}
