// qz2-tool capture on Linux: handed over to qz2-capture beside this program, the one that loads FFmpeg's libraries.
#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/qz2_tool/tool.h"

namespace {

constexpr int kFatalStatus = 255;

int HandOverCapture(int argc, char** argv) {
  char path[PATH_MAX];
  const char kProgram[] = "/qz2-capture";
  // Room is left for the program's name in place of this one's.
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - sizeof kProgram);
  char* slash = nullptr;
  if (n > 0) {
    path[n] = '\0';
    slash = std::strrchr(path, '/');
  }
  if (slash) {
    std::memcpy(slash, kProgram, sizeof kProgram);
    // The same command line: qz2-capture runs the command named first, as qz2-tool does.
    std::vector<char*> args{path};
    args.insert(args.end(), argv, argv + argc);
    args.push_back(nullptr);
    execv(path, args.data());
  }
  std::fputs("qz2-tool capture: qz2-capture, which records, is not beside qz2-tool\n", stderr);
  return kFatalStatus;
}

ToolCommandRegistration g_capture({"capture", kCaptureUsage, HandOverCapture});

}  // namespace
