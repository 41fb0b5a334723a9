// Where an archive entry lands: below the destination folder and nowhere else.
#include "start/destination.h"

#include <system_error>

#include "start/unrar.h"

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

bool EntryPathBelow(const char* destination, const std::string& name, std::filesystem::path& path) {
  // Archives made on Windows separate folders with '\', so both count everywhere.
  if (name.empty() || IsSeparator(name[0]) || name.find(':') != std::string::npos) return false;
  path = destination && destination[0] ? std::filesystem::path(destination) : std::filesystem::path(".");
  bool named = false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    std::string part = name.substr(start, end - start);
    if (part == "..") return false;
    if (!part.empty() && part != ".") {
      path /= part;
      named = true;
    }
    start = end + 1;
  }
  return named;
}

int CreateFolders(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return !error && std::filesystem::is_directory(folder, error) ? RarSuccess : RarCreateError;
}
