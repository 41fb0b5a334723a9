// A stand-in extraction library for the driver's tests: results set by the test, and a log of each call.
#include <string>

#include "start/unrar.h"

namespace {

unsigned g_openResult;
int g_headers;  // headers read with 0 before readEnd is returned
int g_readEnd;
int g_failingFile;  // index of the file whose extraction returns processResult
int g_processResult;
int g_headersRead;
int g_filesProcessed;
std::string g_log;
int g_archive;  // its address is the handle

void Log(const std::string& line) {
  if (!g_log.empty()) g_log += "; ";
  g_log += line;
}

}  // namespace

extern "C" {

RAR_EXPORT void FakeStartScript(unsigned openResult, int headers, int readEnd, int failingFile, int processResult) {
  g_openResult = openResult;
  g_headers = headers;
  g_readEnd = readEnd;
  g_failingFile = failingFile;
  g_processResult = processResult;
  g_headersRead = 0;
  g_filesProcessed = 0;
  g_log.clear();
}

RAR_EXPORT const char* FakeStartLog() { return g_log.c_str(); }

RAR_EXPORT void* RAR_CALL RAROpenArchive(RAROpenArchiveData* data) {
  Log(std::string("open ") + data->ArcName + " mode " + std::to_string(data->OpenMode) + " comments " +
      std::to_string(data->CmtBuf ? data->CmtBufSize : 0));
  data->OpenResult = g_openResult;
  return g_openResult == 0 ? &g_archive : nullptr;
}

RAR_EXPORT int RAR_CALL RARCloseArchive(void* handle) {
  Log(handle == &g_archive ? "close" : "close of another handle");
  return 0;
}

RAR_EXPORT int RAR_CALL RARReadHeader(void*, RARHeaderData*) {
  Log("read");
  if (g_headersRead == g_headers) return g_readEnd;
  ++g_headersRead;
  return 0;
}

RAR_EXPORT int RAR_CALL RARProcessFile(void*, int operation, char* destPath, char* destName) {
  Log("process " + std::to_string(operation) + " into " + destPath + (destName ? " as " + std::string(destName) : ""));
  return g_filesProcessed++ == g_failingFile ? g_processResult : 0;
}

RAR_EXPORT void RAR_CALL RARSetProcessDataProc(void*, RarProcessDataProc) { Log("data proc set"); }

}  // extern "C"
