// Writes whole files of bytes, for the content builder, the fuzz seeds and the tests' fixture files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// False when the file cannot be written whole.
bool WriteBytesFile(const char* path, const void* data, size_t size);
inline bool WriteBytesFile(const char* path, const std::vector<uint8_t>& bytes) {
  return WriteBytesFile(path, bytes.data(), bytes.size());
}
