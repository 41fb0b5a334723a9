// What the library's entry points need from an archive reader: entries one after another and their bytes.
//
// Each build of the library has one reader behind OpenArchiveSource: libarchive on Linux, the stored
// RAR 4 reader on Windows. Results are the interface's codes (unrar.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

enum class EntryKind { File, Folder, Other };

struct EntryHeader {
  std::string name;  // as stored: '/' or '\' between folders
  EntryKind kind = EntryKind::File;
  uint64_t packedSize = 0;
  uint64_t size = 0;
  uint32_t crc = 0;
  uint32_t dosTime = 0;
  uint32_t attributes = 0;
  uint8_t hostOs = 0;
  uint8_t version = 0;
  uint8_t method = 0;
};

class ArchiveSource {
 public:
  virtual ~ArchiveSource() = default;
  // Moves to the next entry, past whatever of the current one was not read:
  // RarSuccess, RarEndArchive, or the error that stops the listing.
  virtual int NextEntry(EntryHeader& entry) = 0;
  // The next bytes of the current entry; got is 0 once it is all read (and checked).
  virtual int ReadData(uint8_t* buffer, size_t capacity, size_t& got) = 0;
};

// Null, with the open result set, when the archive cannot be read.
std::unique_ptr<ArchiveSource> OpenArchiveSource(const char* path, int& openResult);
