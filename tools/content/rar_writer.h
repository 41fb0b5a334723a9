// Writes RAR 4 archives of stored entries, the form the data pack takes, with their header and file CRCs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RarEntry {
  std::string name;  // folders separated by '/' or '\'
  std::vector<uint8_t> data;
  bool folder = false;
};

// The whole archive, the same bytes for the same entries (every entry carries one fixed time).
// False when a name or a file is too large for the format's fields.
bool WriteRar4(const std::vector<RarEntry>& entries, std::vector<uint8_t>& archive);
