// The Linux platform over SDL2: message boxes, cursor, window, keyboard.
#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sdl/sdl_keys.h"

namespace {

// The window procedure of the one window, which the message pump hands the close request.
WindowProcFn g_windowProc;
SDL_Window* g_window;

}  // namespace

// SDL's video start-up opens a session-bus connection whose buffers live until the process ends;
// the leak checker of sanitized builds is told so.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

SdlPlatform::SdlPlatform() : keys_(NewSdlKeyDevice()) {}

SdlPlatform::~SdlPlatform() { delete keys_; }

bool SdlPlatform::VideoReady() {
  if (!videoTried_) {
    videoTried_ = true;
    videoReady_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    // With no display SDL falls back to drawing nowhere; a show nobody can see is no display at
    // all, unless the user asked for such a driver by name.
    const char* driver = videoReady_ ? SDL_GetCurrentVideoDriver() : nullptr;
    bool invisible = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (invisible && !std::getenv("SDL_VIDEODRIVER")) {
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      videoReady_ = false;
    }
  }
  return videoReady_;
}

BoxAnswer SdlPlatform::ShowMessageBox(void* owner, const char* text, const char* caption, BoxButtons buttons,
                                      bool errorIcon) {
  const SDL_MessageBoxButtonData okCancel[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "OK"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 2, "Cancel"},
  };
  SDL_MessageBoxData data = {};
  data.flags = errorIcon ? SDL_MESSAGEBOX_ERROR : 0;
  data.window = static_cast<SDL_Window*>(owner);
  data.title = caption;
  data.message = text;
  data.numbuttons = buttons == BoxButtons::OkCancel ? 2 : 1;
  data.buttons = okCancel;
  int chosen = 0;
  if (SDL_ShowMessageBox(&data, &chosen) != 0) {
    // No display: the text must not be lost, so it goes to standard error.
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return BoxAnswer::Failed;
  }
  // A box closed by its window's close button answers -1: that is Cancel, as on Windows.
  return chosen == 1 ? BoxAnswer::Ok : BoxAnswer::Cancel;
}

void SdlPlatform::ShowCursor(bool show) {
  if (VideoReady()) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void* SdlPlatform::OpenWindow(const WindowRequest& request) {
  if (!VideoReady()) return nullptr;
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_SHOWN;
  int x = 50, y = 50;
  int width = request.width, height = request.height;
  // A window may be resized at will: the picture keeps its aspect in whatever size it is given.
  if (!request.fullscreen) flags |= SDL_WINDOW_RESIZABLE;
  if (request.fullscreen) {
    // Full screen is a desktop-sized borderless window: the desktop's video mode is never changed.
    flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    x = y = 0;
    // Made at the desktop's size, since without a window manager to enlarge it the window keeps
    // the size it was made with.
    SDL_Rect desktop;
    if (SDL_GetDisplayBounds(0, &desktop) == 0) {
      width = desktop.w;
      height = desktop.h;
    }
  }
  SDL_Window* window = SDL_CreateWindow(request.title, x, y, width, height, flags);
  if (!window) return nullptr;
  SDL_RaiseWindow(window);
  g_window = window;
  g_windowProc = request.windowProc;
  return window;
}

void SdlPlatform::PumpMessages() {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    bool close =
        event.type == SDL_QUIT || (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE);
    if (close && g_window && g_windowProc) g_windowProc(g_window, MessageClose, 0, 0);
  }
}

KeyDevice& SdlPlatform::Keys() { return *keys_; }
