// The one window of the program: created by the renderer's Init; closing it asks the show to end.
#include "render/window.h"

#include "core/app.h"
#include "platform/close_request.h"
#include "platform/platform.h"

void CreateMainWindow(int32_t width, int32_t height, bool fullscreen) {
  WindowRequest request{kWindowClassName, kWindowTitle, width, height, fullscreen, AppInstance, WindowProc};
  MainWindow = Sys().OpenWindow(request);
}

// Nothing ends here: the show must still close the keyboard, stop the music and delete its data.
intptr_t WindowProc(void*, uint32_t message, uintptr_t wParam, intptr_t) {
  switch (message) {
    case MessageClose:
    case MessageDestroy:
      Close_Request();
      return 0;
    case MessageQueryEndSession:
      // The session may end; the show ends at its next frame.
      Close_Request();
      return 1;
    case MessageEndSession:
      if (wParam) Close_Request();
      return 0;
    default:
      return 0;
  }
}
