// What the Linux platform does without a display: clock, sleep, directories, INI files, the process's end. The
// window, boxes and keys come on top of it (SdlPlatform; the tools' off-screen platform).
#pragma once

#include "platform/platform.h"

class LinuxPlatform : public Platform {
 public:
  [[noreturn]] void ExitProcess(int code) override;
  uint32_t TimeGetTime() override;
  void TimeBeginPeriod(uint32_t) override {}
  void TimeEndPeriod(uint32_t) override {}
  void Sleep(uint32_t ms) override;
  bool CurrentDirectory(char* buffer, uint32_t size) override;
  int32_t ReadIniInt(const char* section, const char* key, int32_t fallback, const char* path) override;
};
