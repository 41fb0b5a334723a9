// Private directories on Linux: mkdtemp makes them mode 0700 with a random name, and never reuses a path; their
// files deleted at the end.
#include "platform/private_directory.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

bool Directory_SystemTemp(char* buffer, unsigned size) {
  int n = std::snprintf(buffer, size, "/tmp");
  return n >= 0 && static_cast<unsigned>(n) < size;
}

bool Directory_CreatePrivate(const char* parent, char* buffer, unsigned size) {
  int n = std::snprintf(buffer, size, "%s/XXXXXX", parent);
  return n >= 0 && static_cast<unsigned>(n) < size && mkdtemp(buffer) != nullptr;
}

void Directory_DeleteFiles(const char* directory) {
  std::error_code listing;
  std::error_code ignored;
  std::filesystem::directory_iterator entry(directory, listing);
  for (; !listing && entry != std::filesystem::directory_iterator(); entry.increment(listing)) {
    if (!entry->is_directory(ignored) || entry->is_symlink(ignored)) std::filesystem::remove(entry->path(), ignored);
  }
  std::filesystem::remove(directory, ignored);
}
