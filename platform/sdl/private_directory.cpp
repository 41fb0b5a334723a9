// Private directories on Linux: mkdtemp makes them mode 0700 with a random name, and never reuses a path.
#include "platform/private_directory.h"

#include <stdlib.h>

#include <cstdio>

bool Directory_SystemTemp(char* buffer, unsigned size) {
  int n = std::snprintf(buffer, size, "/tmp");
  return n >= 0 && static_cast<unsigned>(n) < size;
}

bool Directory_CreatePrivate(const char* parent, char* buffer, unsigned size) {
  int n = std::snprintf(buffer, size, "%s/XXXXXX", parent);
  return n >= 0 && static_cast<unsigned>(n) < size && mkdtemp(buffer) != nullptr;
}
