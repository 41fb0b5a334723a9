// The browser platform: messages shown in the page, the canvas as the window, the page's keys and monotonic clock.
#pragma once

#include "platform/platform.h"

class WebPlatform : public Platform {
 public:
  WebPlatform();
  ~WebPlatform() override;

  // Shown in the page, never as a blocking dialog: the answer is always OK.
  BoxAnswer ShowMessageBox(void* owner, const char* text, const char* caption, BoxButtons buttons,
                           bool errorIcon) override;
  void ShowCursor(bool show) override;
  [[noreturn]] void ExitProcess(int code) override;
  uint32_t TimeGetTime() override;
  void TimeBeginPeriod(uint32_t) override {}
  void TimeEndPeriod(uint32_t) override {}
  bool CurrentDirectory(char* buffer, uint32_t size) override;
  int32_t ReadIniInt(const char* section, const char* key, int32_t fallback, const char* path) override;
  void* OpenWindow(const WindowRequest& request) override;
  void CloseWindow(void* window) override;
  // Yields to the browser until it draws its next frame, then runs the frame hook.
  void PumpMessages() override;
  KeyDevice& Keys() override;

 private:
  KeyDevice* keys_;
};

// Work the page's single thread does once a frame, before the program draws it: the sound device's reports,
// the music's feeding. Hooks run in the order added.
using FrameHook = void (*)();
void WebPlatform_AddFrameHook(FrameHook hook);
