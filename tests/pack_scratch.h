// Scratch files, archives and the extraction library in place, for the data pack's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/dynamic_library.h"
#include "tests/support.h"
#include "tools/content/rar_writer.h"

namespace fs = std::filesystem;

using Bytes = std::vector<uint8_t>;

inline Bytes ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Bytes no two files of a test share, long enough to need several reads when size is large.
inline Bytes Pattern(size_t size, uint32_t seed) {
  Bytes bytes(size);
  for (uint8_t& b : bytes) {
    seed = seed * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(seed >> 24);
  }
  return bytes;
}

inline Bytes Rar(const std::vector<RarEntry>& entries) {
  Bytes archive;
  EXPECT_TRUE(WriteRar4(entries, archive));
  return archive;
}

// Offset of the first file header in the archives the writer makes: after the signature and main header.
constexpr size_t kFirstFileHeader = 7 + 13;

// A scratch folder that is the current directory and holds a copy of a library as "Start.Dll", where
// the program looks for it.
class LibraryInPlace : public Scratch {
 public:
  explicit LibraryInPlace(const char* library) : previous_(fs::current_path()) {
    if (library) fs::copy_file(library, Path() / "Start.Dll");
    fs::current_path(Path());
  }
  ~LibraryInPlace() { fs::current_path(previous_); }

 private:
  fs::path previous_;
};
