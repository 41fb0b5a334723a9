// The one window of the program: created by the renderer's Init, closed only by the system.
#include "render/window.h"

#include "core/app.h"
#include "platform/platform.h"

void CreateMainWindow(int32_t width, int32_t height, bool fullscreen) {
  WindowRequest request{kWindowClassName, kWindowTitle, width, height, fullscreen, AppInstance, WindowProc};
  MainWindow = Sys().OpenWindow(request);
}

intptr_t WindowProc(void* window, uint32_t message, uintptr_t, intptr_t) {
  // Closing the window ends the show at once, with nothing torn down.
  if (message == MessageDestroy) Sys().ExitProcess(0);
  if (message == MessageClose) Sys().CloseWindow(window);
  return 0;
}
