// The Linux platform over SDL2: message boxes, cursor, window, keyboard.
#pragma once

#include "platform/sdl/linux_platform.h"

class SdlPlatform : public LinuxPlatform {
 public:
  SdlPlatform();
  ~SdlPlatform() override;

  BoxAnswer ShowMessageBox(void* owner, const char* text, const char* caption, BoxButtons buttons,
                           bool errorIcon) override;
  void ShowCursor(bool show) override;
  void* OpenWindow(const WindowRequest& request) override;
  void PumpMessages() override;
  KeyDevice& Keys() override;

 private:
  bool VideoReady();

  bool videoTried_ = false;
  bool videoReady_ = false;
  KeyDevice* keys_;
};
