// What every suite shares: a scratch folder for the files a test writes, and the exit code of a fatal report.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"

// A fresh folder in the temporary directory, removed with everything in it at the end: suites and the fuzz targets
// may run side by side, each in processes of its own.
class Scratch {
 public:
  Scratch() {
    std::random_device random;
    do {
      path_ = std::filesystem::temp_directory_path() / "qz2_";
      path_ += std::to_string(random());
    } while (!std::filesystem::create_directory(path_));
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string Path(const std::string& name) const { return (path_ / name).string(); }
  // Replaces the named file's bytes; its path.
  std::string Write(const std::string& name, const uint8_t* data, size_t size) const {
    const std::string path = Path(name);
    std::ofstream out(path, std::ios::binary);
    if (!out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size)).flush()) {
      throw std::runtime_error("cannot write " + path);
    }
    return path;
  }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    return Write(name, bytes.data(), bytes.size());
  }
  std::string Write(const std::string& name, const std::string& text) const {
    return Write(name, reinterpret_cast<const uint8_t*>(text.data()), text.size());
  }

 private:
  std::filesystem::path path_;
};

// The exit code of the fatal report that ends f under the fake platform; none when f returns.
template <class F>
std::optional<int> ExitOf(F f) {
  try {
    f();
  } catch (const FakeExit& exit) {
    return exit.code;
  }
  return std::nullopt;
}
