// Scratch folders, files, archives and the extraction library in place, for the data pack's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/dynamic_library.h"
#include "platform/fake/fake_platform.h"
#include "platform/private_directory.h"
#include "tools/content/rar_writer.h"

namespace fs = std::filesystem;

using Bytes = std::vector<uint8_t>;

// A fresh folder of the test's own, removed with everything in it at the end.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    char path[512];
    EXPECT_TRUE(Directory_CreatePrivate(fs::temp_directory_path().string().c_str(), path, sizeof path));
    path_ = path;
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// Makes a folder the current directory for a test's lifetime.
class WorkingIn {
 public:
  explicit WorkingIn(const fs::path& directory) : previous_(fs::current_path()) { fs::current_path(directory); }
  ~WorkingIn() { fs::current_path(previous_); }

 private:
  fs::path previous_;
};

inline void WriteBytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

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
class LibraryInPlace {
 public:
  explicit LibraryInPlace(const char* library) {
    if (library) fs::copy_file(library, scratch_.path() / "Start.Dll");
  }
  const fs::path& path() const { return scratch_.path(); }

 private:
  ScratchDirectory scratch_;
  WorkingIn working_{scratch_.path()};
};

// The exit code of a fatal report raised by f, or 0 when f returns.
template <typename F>
int ExitCodeOf(F f) {
  try {
    f();
  } catch (const FakeExit& exit) {
    return exit.code;
  }
  return 0;
}
