// The data pack: the private data directory, extraction of the pack through "Start.Dll" (linked in, in a page),
// and deletion.
#include "driver/pack.h"

#include <cstdio>
#include <cstdlib>

#include "core/error.h"
#include "platform/dynamic_library.h"
#include "platform/private_directory.h"
#include "start/unrar.h"

namespace {

constexpr const char* kLibraryName = "Start.Dll";
constexpr unsigned kCommentSize = 16384;

struct StartLibrary {
  RarOpenArchiveFn openArchive;
  RarCloseArchiveFn closeArchive;
  RarReadHeaderFn readHeader;
  RarProcessFileFn processFile;
  // Looked up with the others, so a library without it is refused, but never called.
  RarSetProcessDataProcFn setProcessDataProc;
};

template <typename Fn>
bool LookUp(void* library, const char* name, Fn& entry) {
  entry = reinterpret_cast<Fn>(Library_Symbol(library, name));
  return entry != nullptr;
}

// A library that lacks an entry point is no extraction library: calling through a null entry would crash.
bool LookUpAll(void* library, StartLibrary& start) {
#ifdef __EMSCRIPTEN__
  start = {RAROpenArchive, RARCloseArchive, RARReadHeader, RARProcessFile, RARSetProcessDataProc};
  return library != nullptr;
#endif
  return LookUp(library, "RAROpenArchive", start.openArchive) &&
         LookUp(library, "RARCloseArchive", start.closeArchive) && LookUp(library, "RARReadHeader", start.readHeader) &&
         LookUp(library, "RARProcessFile", start.processFile) &&
         LookUp(library, "RARSetProcessDataProc", start.setProcessDataProc);
}

[[noreturn]] void Fatal(const char* text) {
  ReportError(text, true);
  // A fatal report does not come back.
  std::abort();
}

[[noreturn]] void ReportExtractionFailure(int result) {
  static const char* const kMessages[] = {
      "CRC error",         "Bad volume",        "Unknown archive format",
      "Volume open error", "File create error", "File close error",
      "Read error",        "Write error",
  };
  constexpr int kFirst = RarBadData;
  constexpr int kCount = sizeof kMessages / sizeof kMessages[0];
  if (result >= kFirst && result < kFirst + kCount) Fatal(kMessages[result - kFirst]);
  char text[64];
  std::snprintf(text, sizeof text, "Extraction error %d", result);
  Fatal(text);
}

bool MakeDataDir(const char* parent, char* buffer, unsigned size) {
  return parent && parent[0] && Directory_CreatePrivate(parent, buffer, size);
}

}  // namespace

bool ChooseDataDir(char* buffer, unsigned size) {
  char systemTemp[kDataPathSize];
  return MakeDataDir(std::getenv("TMP"), buffer, size) ||
         (Directory_SystemTemp(systemTemp, sizeof systemTemp) && MakeDataDir(systemTemp, buffer, size)) ||
         MakeDataDir(".", buffer, size);
}

int UnpackPack(const char* archive, const char* directory) {
  if (!archive || !directory) return -1;
  void* library = Library_Open(kLibraryName);
  StartLibrary start{};
  if (!library || !LookUpAll(library, start)) {
    if (library) Library_Close(library);
    Fatal("Can't Find Start.dll");
  }

  char comments[kCommentSize];
  RAROpenArchiveData open{};
  open.ArcName = const_cast<char*>(archive);
  open.OpenMode = RarOpenExtract;
  open.CmtBuf = comments;
  open.CmtBufSize = sizeof comments;
  void* handle = start.openArchive(&open);
  // Without a handle there is nothing to read from, whatever the record says.
  if (open.OpenResult != RarSuccess || !handle) {
    Library_Close(library);
    Fatal("Can't Find Archive File");
  }

  // Any result other than 0, the end of the archive as much as a header that cannot be read, ends the
  // extraction; the library is closed before a failure is reported so nothing is left open.
  RARHeaderData header{};
  int failure = RarSuccess;
  while (failure == RarSuccess && start.readHeader(handle, &header) == RarSuccess) {
    failure = start.processFile(handle, RarExtract, const_cast<char*>(directory), nullptr);
  }
  start.closeArchive(handle);
  Library_Close(library);
  if (failure != RarSuccess) ReportExtractionFailure(failure);
  return 0;
}

void DeleteDataDir(const char* directory) {
  if (directory) Directory_DeleteFiles(directory);
}
