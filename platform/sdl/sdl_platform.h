// The Linux platform over SDL2: message boxes, cursor, window, keyboard, monotonic millisecond clock.
#pragma once

#include "platform/platform.h"

class SdlPlatform : public Platform {
 public:
  SdlPlatform();
  ~SdlPlatform() override;

  BoxAnswer ShowMessageBox(void* owner, const char* text, const char* caption, BoxButtons buttons,
                           bool errorIcon) override;
  void ShowCursor(bool show) override;
  [[noreturn]] void ExitProcess(int code) override;
  uint32_t TimeGetTime() override;
  void TimeBeginPeriod(uint32_t) override {}
  void TimeEndPeriod(uint32_t) override {}
  void Sleep(uint32_t ms) override;
  bool CurrentDirectory(char* buffer, uint32_t size) override;
  int32_t ReadIniInt(const char* section, const char* key, int32_t fallback, const char* path) override;
  void* OpenWindow(const WindowRequest& request) override;
  void PumpMessages() override;
  KeyDevice& Keys() override;

 private:
  bool VideoReady();

  bool videoTried_ = false;
  bool videoReady_ = false;
  KeyDevice* keys_;
};
