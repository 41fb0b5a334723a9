// Fuzz target: the stored RAR 4 reader behind the library's entry points, listed, then extracted into a fresh
// folder, out of which nothing may land.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/crc32.h"
#include "start/unrar.h"
#include "tests/support.h"

extern "C" {
void* RAROpenArchive(RAROpenArchiveData* data);
int RARCloseArchive(void* handle);
int RARReadHeader(void* handle, RARHeaderData* header);
int RARProcessFile(void* handle, int operation, char* destPath, char* destName);
}

namespace {

// Every entry of the archive given the operation, as the driver's pass over the pack does.
void EachEntry(std::string name, int operation, char* destination) {
  RAROpenArchiveData open{};
  open.ArcName = name.data();
  open.OpenMode = operation == RarSkip ? RarOpenList : RarOpenExtract;
  void* handle = RAROpenArchive(&open);
  if (!handle) return;
  RARHeaderData header{};
  while (RARReadHeader(handle, &header) == RarSuccess) {
    if (RARProcessFile(handle, operation, destination, nullptr) != RarSuccess) break;
  }
  RARCloseArchive(handle);
}

uint32_t WordAt(const std::vector<uint8_t>& b, size_t at, size_t bytes) {
  uint32_t word = 0;
  for (size_t i = bytes; i-- > 0;) word = word << 8 | b[at + i];
  return word;
}

void PutWord(std::vector<uint8_t>& b, size_t at, uint32_t word, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(word >> (8 * i));
}

// Every header's CRC, and each stored file's data CRC, made right after the mutations: otherwise almost no
// changed header gets past its check, and the reader behind it goes unfuzzed.
void RepairCrcs(std::vector<uint8_t>& b) {
  constexpr size_t kBlock = 7, kFileHeader = 32, kPackSizeAt = 7, kFileCrcAt = 16;
  size_t at = kBlock;  // past the signature
  while (b.size() >= at + kBlock) {
    const size_t size = WordAt(b, at + 5, 2);
    if (size < kBlock || size > b.size() - at) return;
    const bool file = b[at + 2] == 0x74 && size >= kFileHeader;
    const bool sized = file || (WordAt(b, at + 3, 2) & 0x8000 && size >= kBlock + 4);
    const size_t data = sized ? WordAt(b, at + kPackSizeAt, 4) : 0;
    if (file && data <= b.size() - at - size) PutWord(b, at + kFileCrcAt, Crc32(0, b.data() + at + size, data), 4);
    PutWord(b, at, Crc32(0, b.data() + at + 2, size - 2) & 0xFFFF, 2);
    if (data > b.size() - at - size) return;
    at += size + data;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The destination is a fresh folder inside one of our own, so an entry that lands beside it is seen.
  static const Scratch scratch;
  std::vector<uint8_t> bytes(data, data + size);
  RepairCrcs(bytes);
  const std::string archive = scratch.Write("a.rar", bytes);
  const std::filesystem::path outer = scratch.Path() / "out";
  std::string destination = (outer / "data").string();
  std::error_code ignored;
  std::filesystem::remove_all(outer, ignored);
  if (!std::filesystem::create_directories(destination, ignored)) return 0;
  EachEntry(archive, RarSkip, nullptr);
  EachEntry(archive, RarExtract, destination.data());
  for (const auto& entry : std::filesystem::directory_iterator(outer, ignored)) {
    if (entry.path().filename() != "data") std::abort();  // written outside the destination
  }
  std::filesystem::remove_all(outer, ignored);
  return 0;
}
