// A bounded reader over bytes in memory: every read knows how many bytes are left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t Remaining() const { return size_ - position_; }

  // The next n bytes, or null (and nothing consumed) when fewer are left.
  const uint8_t* Take(uint64_t n) {
    if (n > Remaining()) return nullptr;
    const uint8_t* p = data_ + position_;
    position_ += static_cast<size_t>(n);
    return p;
  }

  // Copies one whole record; false when the bytes run out.
  template <class T>
  bool Read(T& out) {
    const uint8_t* p = Take(sizeof(T));
    if (!p) return false;
    std::memcpy(&out, p, sizeof(T));
    return true;
  }

  // Moves forward n bytes, or to the end when fewer are left.
  void Skip(uint64_t n) { position_ += n > Remaining() ? Remaining() : static_cast<size_t>(n); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};
