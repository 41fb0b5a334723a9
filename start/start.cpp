// The library's five entry points over the archive reader of this build.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "start/archive_source.h"
#include "start/destination.h"
#include "start/unrar.h"

namespace {

constexpr size_t kCopyBlockSize = 64 * 1024;

struct StartArchive {
  std::unique_ptr<ArchiveSource> source;
  std::string archiveName;
  EntryHeader entry;
  bool entryPending = false;  // a header was read and its entry not yet processed
  RarProcessDataProc dataProc = nullptr;
  unsigned char block[kCopyBlockSize];
};

void CopyName(char (&field)[RarNameSize], const std::string& name) {
  size_t n = name.size() < RarNameSize - 1 ? name.size() : RarNameSize - 1;
  std::memcpy(field, name.data(), n);
  field[n] = '\0';
}

void FillHeader(const StartArchive& archive, RARHeaderData& header) {
  const EntryHeader& entry = archive.entry;
  CopyName(header.ArcName, archive.archiveName);
  CopyName(header.FileName, entry.name);
  header.Flags = entry.kind == EntryKind::Folder ? RarHeaderFolder : 0;
  header.PackSize = static_cast<unsigned>(entry.packedSize);
  header.UnpSize = static_cast<unsigned>(entry.size);
  header.HostOS = entry.hostOs;
  header.FileCRC = entry.crc;
  header.FileTime = entry.dosTime;
  header.UnpVer = entry.version;
  header.Method = entry.method;
  header.FileAttr = entry.attributes;
  header.CmtSize = 0;
  header.CmtState = 0;
}

// Reads the current entry to its end, writing it to out when there is one.
int CopyEntry(StartArchive& archive, std::FILE* out) {
  for (;;) {
    size_t got = 0;
    int result = archive.source->ReadData(archive.block, sizeof archive.block, got);
    if (result != RarSuccess) return result;
    if (got == 0) return RarSuccess;
    if (archive.dataProc && archive.dataProc(archive.block, static_cast<int>(got)) == 0) return RarUnknown;
    if (out && std::fwrite(archive.block, 1, got, out) != got) return RarWriteError;
  }
}

int ExtractEntry(StartArchive& archive, const char* destPath, const char* destName) {
  std::filesystem::path path;
  if (destName) {
    path = destName;
  } else if (!EntryPathBelow(destPath, archive.entry.name, path)) {
    return RarCreateError;
  }
  if (archive.entry.kind == EntryKind::Folder) return CreateFolders(path);
  // Links and devices are never made: a link could lead a later entry out of the destination.
  if (archive.entry.kind != EntryKind::File) return RarCreateError;
  if (path.has_parent_path() && CreateFolders(path.parent_path()) != RarSuccess) return RarCreateError;
  std::FILE* out = std::fopen(path.string().c_str(), "wb");
  if (!out) return RarCreateError;
  int result = CopyEntry(archive, out);
  if (std::fclose(out) != 0 && result == RarSuccess) result = RarCloseError;
  return result;
}

}  // namespace

extern "C" {

RAR_EXPORT void* RAR_CALL RAROpenArchive(RAROpenArchiveData* data) {
  if (!data) return nullptr;
  data->CmtSize = 0;
  data->CmtState = 0;
  if (!data->ArcName) {
    data->OpenResult = RarOpenError;
    return nullptr;
  }
  int result = RarSuccess;
  std::unique_ptr<ArchiveSource> source = OpenArchiveSource(data->ArcName, result);
  if (!source) {
    data->OpenResult = result;
    return nullptr;
  }
  StartArchive* archive = new StartArchive;
  archive->source = std::move(source);
  archive->archiveName = data->ArcName;
  data->OpenResult = RarSuccess;
  return archive;
}

RAR_EXPORT int RAR_CALL RARCloseArchive(void* handle) {
  if (!handle) return RarCloseError;
  delete static_cast<StartArchive*>(handle);
  return RarSuccess;
}

RAR_EXPORT int RAR_CALL RARReadHeader(void* handle, RARHeaderData* header) {
  if (!handle || !header) return RarUnknown;
  StartArchive& archive = *static_cast<StartArchive*>(handle);
  archive.entryPending = false;
  int result = archive.source->NextEntry(archive.entry);
  if (result != RarSuccess) return result;
  archive.entryPending = true;
  FillHeader(archive, *header);
  return RarSuccess;
}

RAR_EXPORT int RAR_CALL RARProcessFile(void* handle, int operation, char* destPath, char* destName) {
  if (!handle) return RarUnknown;
  StartArchive& archive = *static_cast<StartArchive*>(handle);
  if (!archive.entryPending) return RarUnknown;
  archive.entryPending = false;
  switch (operation) {
    case RarSkip:
      return RarSuccess;
    case RarTest:
      return archive.entry.kind == EntryKind::File ? CopyEntry(archive, nullptr) : RarSuccess;
    case RarExtract:
      return ExtractEntry(archive, destPath, destName);
    default:
      return RarUnknown;
  }
}

RAR_EXPORT void RAR_CALL RARSetProcessDataProc(void* handle, RarProcessDataProc proc) {
  if (handle) static_cast<StartArchive*>(handle)->dataProc = proc;
}

}  // extern "C"
