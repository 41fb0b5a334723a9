// Fuzz target: the stored RAR 4 reader behind the library's entry points, listed, then extracted.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "start/unrar.h"
#include "tests/fuzz/fuzz_scratch.h"

extern "C" {
void* RAROpenArchive(RAROpenArchiveData* data);
int RARCloseArchive(void* handle);
int RARReadHeader(void* handle, RARHeaderData* header);
int RARProcessFile(void* handle, int operation, char* destPath, char* destName);
}

namespace {

// Every entry of the archive given the operation, as the driver's pass over the pack does.
void EachEntry(const ScratchFile& archive, int operation, char* destination) {
  std::string name = archive.Path();
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ScratchFile archive(".rar");
  static ScratchFile folder(".d");
  if (!archive.Write(data, size)) return 0;
  std::string destination = folder.Path();
  EachEntry(archive, RarSkip, nullptr);
  EachEntry(archive, RarExtract, destination.data());
  std::error_code ignored;
  std::filesystem::remove_all(destination, ignored);
  return 0;
}
