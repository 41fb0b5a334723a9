// The Linux library's archive reader: libarchive, so any RAR archive extracts, compressed or stored, RAR 4 or 5.
#include <archive.h>
#include <archive_entry.h>

#include <cstdio>
#include <ctime>

#include "start/archive_source.h"
#include "start/unrar.h"

namespace {

constexpr size_t kReadBlockSize = 64 * 1024;
constexpr uint8_t kHostUnix = 3;

// MS-DOS dates run from 1980 to 2107.
uint32_t DosTime(time_t seconds) {
  std::tm local{};
  if (!localtime_r(&seconds, &local) || local.tm_year < 80 || local.tm_year > 207) return 0;
  uint32_t date = static_cast<uint32_t>((local.tm_year - 80) << 9 | (local.tm_mon + 1) << 5 | local.tm_mday);
  uint32_t time = static_cast<uint32_t>(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2);
  return date << 16 | time;
}

class LibarchiveSource : public ArchiveSource {
 public:
  LibarchiveSource() : archive_(archive_read_new()) {}
  ~LibarchiveSource() override { archive_read_free(archive_); }

  int Open(const char* path) {
    if (!archive_) return RarNoMemory;
    archive_read_support_format_rar(archive_);
    archive_read_support_format_rar5(archive_);
    // libarchive tells a missing file from an unknown format only through its private error numbers.
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return RarOpenError;
    std::fclose(file);
    return archive_read_open_filename(archive_, path, kReadBlockSize) == ARCHIVE_OK ? RarSuccess : RarUnknownFormat;
  }

  int NextEntry(EntryHeader& entry) override {
    archive_entry* e = nullptr;
    int r = archive_read_next_header(archive_, &e);
    if (r == ARCHIVE_EOF) return RarEndArchive;
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN) return RarBadData;
    const char* name = archive_entry_pathname(e);
    if (!name) name = archive_entry_pathname_utf8(e);
    entry = EntryHeader{};
    // A name that cannot be given is left empty, and extracting it is refused.
    if (name) entry.name = name;
    switch (archive_entry_filetype(e)) {
      case AE_IFREG:
        entry.kind = EntryKind::File;
        break;
      case AE_IFDIR:
        entry.kind = EntryKind::Folder;
        break;
      default:
        entry.kind = EntryKind::Other;
        break;
    }
    la_int64_t size = archive_entry_size(e);
    entry.size = size > 0 ? static_cast<uint64_t>(size) : 0;
    entry.packedSize = entry.size;
    entry.dosTime = DosTime(archive_entry_mtime(e));
    entry.attributes = archive_entry_mode(e);
    entry.hostOs = kHostUnix;
    return RarSuccess;
  }

  int ReadData(uint8_t* buffer, size_t capacity, size_t& got) override {
    la_ssize_t n = archive_read_data(archive_, buffer, capacity);
    got = n > 0 ? static_cast<size_t>(n) : 0;
    return n < 0 ? RarBadData : RarSuccess;
  }

 private:
  archive* archive_;
};

}  // namespace

std::unique_ptr<ArchiveSource> OpenArchiveSource(const char* path, int& openResult) {
  auto source = std::make_unique<LibarchiveSource>();
  openResult = source->Open(path);
  if (openResult != RarSuccess) return nullptr;
  return source;
}
