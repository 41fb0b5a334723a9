// The Windows library reads our own packs: RAR 4 archives of stored entries.
#include "start/archive_source.h"
#include "start/rar4_reader.h"

std::unique_ptr<ArchiveSource> OpenArchiveSource(const char* path, int& openResult) {
  return OpenRar4Archive(path, openResult);
}
