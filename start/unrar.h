// The extraction library's programming interface: records, result codes and entry points laid out as the
// published UnRAR library interface lays them out, so any compatible library can stand in for ours.
#pragma once

#include <cstddef>

#ifdef _WIN32
#define RAR_CALL __stdcall
#define RAR_EXPORT __declspec(dllexport)
#else
#define RAR_CALL
#define RAR_EXPORT __attribute__((visibility("default")))
#endif

enum RarResult : int {
  RarSuccess = 0,
  RarEndArchive = 10,
  RarNoMemory = 11,
  RarBadData = 12,
  RarBadArchive = 13,
  RarUnknownFormat = 14,
  RarOpenError = 15,
  RarCreateError = 16,
  RarCloseError = 17,
  RarReadError = 18,
  RarWriteError = 19,
  RarSmallBuffer = 20,
  RarUnknown = 21,
};

enum RarOpenMode : unsigned { RarOpenList = 0, RarOpenExtract = 1 };
enum RarOperation : int { RarSkip = 0, RarTest = 1, RarExtract = 2 };

// Header record flag: the entry is a folder.
constexpr unsigned RarHeaderFolder = 0x20;
constexpr size_t RarNameSize = 260;

struct RARHeaderData {
  char ArcName[RarNameSize];
  char FileName[RarNameSize];
  unsigned Flags;
  unsigned PackSize;
  unsigned UnpSize;
  unsigned HostOS;
  unsigned FileCRC;
  unsigned FileTime;
  unsigned UnpVer;
  unsigned Method;
  unsigned FileAttr;
  char* CmtBuf;
  unsigned CmtBufSize;
  unsigned CmtSize;
  unsigned CmtState;
};

struct RAROpenArchiveData {
  char* ArcName;
  unsigned OpenMode;
  unsigned OpenResult;
  char* CmtBuf;
  unsigned CmtBufSize;
  unsigned CmtSize;
  unsigned CmtState;
};

// Both records cross the library boundary: their layout must match other builds of the interface.
static_assert(offsetof(RARHeaderData, Flags) == 520 && offsetof(RARHeaderData, FileAttr) == 552);
static_assert(sizeof(void*) != 8 || (sizeof(RARHeaderData) == 584 && offsetof(RARHeaderData, CmtBufSize) == 568));
static_assert(sizeof(void*) != 4 || sizeof(RARHeaderData) == 572);
static_assert(sizeof(void*) != 8 || (sizeof(RAROpenArchiveData) == 40 && offsetof(RAROpenArchiveData, CmtBuf) == 16));
static_assert(sizeof(void*) != 4 || sizeof(RAROpenArchiveData) == 28);

// Called with each block of extracted data; returning 0 cancels the operation.
using RarProcessDataProc = int(RAR_CALL*)(unsigned char* data, int size);

using RarOpenArchiveFn = void*(RAR_CALL*)(RAROpenArchiveData* archive);
using RarCloseArchiveFn = int(RAR_CALL*)(void* handle);
using RarReadHeaderFn = int(RAR_CALL*)(void* handle, RARHeaderData* header);
using RarProcessFileFn = int(RAR_CALL*)(void* handle, int operation, char* destPath, char* destName);
using RarSetProcessDataProcFn = void(RAR_CALL*)(void* handle, RarProcessDataProc proc);

// The entry points, for a program that links the library in rather than loading it (the browser build).
extern "C" {
RAR_EXPORT void* RAR_CALL RAROpenArchive(RAROpenArchiveData* archive);
RAR_EXPORT int RAR_CALL RARCloseArchive(void* handle);
RAR_EXPORT int RAR_CALL RARReadHeader(void* handle, RARHeaderData* header);
RAR_EXPORT int RAR_CALL RARProcessFile(void* handle, int operation, char* destPath, char* destName);
RAR_EXPORT void RAR_CALL RARSetProcessDataProc(void* handle, RarProcessDataProc proc);
}
