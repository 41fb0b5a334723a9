// Whole files into memory: every reader parses its file from one bounded block of bytes.
#include "core/file.h"

#include <memory>

#include "platform/platform.h"

namespace {

constexpr size_t kReadBlock = 64 * 1024;

}  // namespace

bool File_ReadAll(const char* path, size_t maxBytes, std::vector<uint8_t>& bytes) {
  bytes.clear();
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
  if (!file) return false;
  // Read in blocks rather than trusting a size from the system: pipes and growing files have none.
  size_t got;
  do {
    const size_t used = bytes.size();
    if (used > maxBytes) break;
    bytes.resize(used + kReadBlock);
    got = std::fread(bytes.data() + used, 1, kReadBlock, file.get());
    bytes.resize(used + got);
  } while (got == kReadBlock);
  if (bytes.size() > maxBytes || std::ferror(file.get())) {
    bytes.clear();
    bytes.shrink_to_fit();
    return false;
  }
  return true;
}

void File_JoinPath(char* buffer, size_t size, const char* directory, const char* name) {
  int n = std::snprintf(buffer, size, "%s%c%s", directory, PathSeparator, name);
  if (n < 0 || static_cast<size_t>(n) >= size) buffer[0] = '\0';
}
