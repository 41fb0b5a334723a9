// The Windows platform: USER32 boxes and window, the multimedia timer, DirectInput 7, profile files.
#pragma once

#include "platform/platform.h"

class Win32Platform : public Platform {
 public:
  Win32Platform();
  ~Win32Platform() override;

  BoxAnswer ShowMessageBox(void* owner, const char* text, const char* caption, BoxButtons buttons,
                           bool errorIcon) override;
  void ShowCursor(bool show) override;
  [[noreturn]] void ExitProcess(int code) override;
  uint32_t TimeGetTime() override;
  void TimeBeginPeriod(uint32_t ms) override;
  void TimeEndPeriod(uint32_t ms) override;
  void Sleep(uint32_t ms) override;
  bool CurrentDirectory(char* buffer, uint32_t size) override;
  int32_t ReadIniInt(const char* section, const char* key, int32_t fallback, const char* path) override;
  void* OpenWindow(const WindowRequest& request) override;
  void PumpMessages() override;
  KeyDevice& Keys() override;

 private:
  KeyDevice* keys_;
};
