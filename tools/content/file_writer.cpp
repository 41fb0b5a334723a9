// Writes whole files of bytes.
#include "tools/content/file_writer.h"

#include <cstdio>

bool WriteBytesFile(const char* path, const void* data, size_t size) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}
