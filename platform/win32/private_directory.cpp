// Private directories on Windows: a random name the process draws, created only if nothing has that name yet;
// their files deleted at the end through the system's file search.
//
// The directory takes the access rights of its parent, which in the user's own temporary directory
// keeps other users out.
#include "platform/private_directory.h"

#include <windows.h>
#include <direct.h>
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

void Directory_DeleteFiles(const char* directory) {
  char path[MAX_PATH];
  int n = std::snprintf(path, sizeof path, "%s\\*.*", directory);
  if (n < 0 || static_cast<unsigned>(n) >= sizeof path) return;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(path, &entry);
  if (search != INVALID_HANDLE_VALUE) {
    // Every entry is deleted as a file, so "." and ".." and folders refuse and stay; a link to a folder is
    // removed as the folder it stands for, which takes the link alone.
    constexpr DWORD kFolderLink = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    do {
      n = std::snprintf(path, sizeof path, "%s\\%s", directory, entry.cFileName);
      if (n <= 0 || static_cast<unsigned>(n) >= sizeof path) continue;
      if ((entry.dwFileAttributes & kFolderLink) == kFolderLink) {
        RemoveDirectoryA(path);
      } else {
        DeleteFileA(path);
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  _rmdir(directory);
}
