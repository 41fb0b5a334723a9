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
  for (size_t start = 0, end = 0; start <= name.size(); start = end + 1) {
    for (end = start; end < name.size() && !IsSeparator(name[end]);) ++end;
    std::string part = name.substr(start, end - start);
    if (part.empty() || part == ".") continue;
    // Windows drops trailing dots and spaces from a path part, so ".. " climbs as ".." does.
    if (part.find_first_not_of(". ") == std::string::npos) return false;
    path /= part;
    named = true;
  }
  return named;
}

int CreateFolders(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return !error && std::filesystem::is_directory(folder, error) ? RarSuccess : RarCreateError;
}
