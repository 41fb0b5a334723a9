// Bounded little-endian reads from a block of bytes: a read past the end yields zeros and marks the reader failed.
#pragma once

#include <cstddef>
#include <cstdint>

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t U8() {
    const uint8_t* p = Bytes(1);
    return p ? p[0] : 0;
  }
  uint16_t U16() {
    const uint8_t* p = Bytes(2);
    return p ? static_cast<uint16_t>(p[0] | p[1] << 8) : 0;
  }
  uint32_t U32() {
    const uint8_t* p = Bytes(4);
    return p ? static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
                   static_cast<uint32_t>(p[3]) << 24
             : 0;
  }
  // The next n bytes, or null (and failed) when fewer are left.
  const uint8_t* Bytes(size_t n) {
    if (failed_ || n > size_ - offset_) {
      failed_ = true;
      return nullptr;
    }
    const uint8_t* p = data_ + offset_;
    offset_ += n;
    return p;
  }

  size_t Remaining() const { return size_ - offset_; }
  bool Failed() const { return failed_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t offset_ = 0;
  bool failed_ = false;
};
