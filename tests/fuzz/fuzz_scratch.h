// Fuzz support: a file or folder of this process's own, removed at exit, for the readers that take a path.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

class ScratchFile {
 public:
  explicit ScratchFile(const char* suffix)
      : path_((std::filesystem::temp_directory_path() / ("qz2_fuzz_" + std::to_string(getpid()) + suffix)).string()) {}
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const char* Path() const { return path_.c_str(); }
  // Replaces the file's bytes; false when they could not all be written.
  bool Write(const uint8_t* data, size_t size) const {
    FILE* f = std::fopen(path_.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
  }
  bool Write(const std::vector<uint8_t>& bytes) const { return Write(bytes.data(), bytes.size()); }

 private:
  std::string path_;
};
