// Private directories on Windows: a random name the process draws, created only if nothing has that name yet.
//
// The directory takes the access rights of its parent, which in the user's own temporary directory
// keeps other users out.
#define _CRT_RAND_S
#include "platform/private_directory.h"

#include <windows.h>
#include <stdlib.h>

#include <cstdio>

namespace {

constexpr int kNameAttempts = 16;

}  // namespace

bool Directory_SystemTemp(char* buffer, unsigned size) {
  DWORD n = GetTempPathA(size, buffer);
  if (n == 0 || n >= size) return false;
  // "C:\Temp\" loses its last separator; a bare root such as "C:\" keeps it.
  if (n > 3 && buffer[n - 1] == '\\') buffer[n - 1] = '\0';
  return true;
}

bool Directory_CreatePrivate(const char* parent, char* buffer, unsigned size) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    unsigned value = 0;
    if (rand_s(&value) != 0) return false;
    int n = std::snprintf(buffer, size, "%s\\%u", parent, value);
    if (n < 0 || static_cast<unsigned>(n) >= size) return false;
    if (CreateDirectoryA(buffer, nullptr)) return true;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}
