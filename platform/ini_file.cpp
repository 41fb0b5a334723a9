// Integer lookup in a Windows-style initialisation file, with the rules of GetPrivateProfileIntA.
#include "platform/ini_file.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

constexpr size_t kMaxLine = 4096;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// Leading integer of a value as the system reads it: optional sign, decimal digits, wraps like a 32-bit int.
int32_t ParseInt(std::string_view v) {
  bool negative = false;
  if (!v.empty() && (v.front() == '-' || v.front() == '+')) {
    negative = v.front() == '-';
    v.remove_prefix(1);
  }
  uint32_t value = 0;
  while (!v.empty() && std::isdigit(static_cast<unsigned char>(v.front()))) {
    value = value * 10u + static_cast<uint32_t>(v.front() - '0');
    v.remove_prefix(1);
  }
  return static_cast<int32_t>(negative ? 0u - value : value);
}

}  // namespace

int32_t IniFile_ReadInt(const char* path, const char* section, const char* key, int32_t fallback) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return fallback;
  char line[kMaxLine];
  bool inSection = false;
  int32_t result = fallback;
  bool found = false;
  while (!found && std::fgets(line, sizeof line, f)) {
    if (!std::strchr(line, '\n') && !std::feof(f)) {
      // An over-long line is nobody's setting: skip it whole rather than read its tail as a new line.
      int c;
      while ((c = std::fgetc(f)) != EOF && c != '\n') {
      }
      continue;
    }
    std::string_view s = Trim(line);
    if (s.empty() || s.front() == ';') continue;
    if (s.front() == '[') {
      size_t close = s.find(']');
      inSection = close != std::string_view::npos && SameName(Trim(s.substr(1, close - 1)), section);
      continue;
    }
    if (!inSection) continue;
    size_t eq = s.find('=');
    if (eq == std::string_view::npos || !SameName(Trim(s.substr(0, eq)), key)) continue;
    result = ParseInt(Trim(s.substr(eq + 1)));
    found = true;
  }
  std::fclose(f);
  return result;
}
