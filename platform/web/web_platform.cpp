// The browser platform: messages shown in the page, the canvas as the window, the page's keys and monotonic clock.
#include "platform/web/web_platform.h"

#include <emscripten.h>
#include <unistd.h>

#include <cstdio>

#include "platform/ini_file.h"
#include "platform/web/web_keys.h"

namespace {

constexpr int kMaxFrameHooks = 4;
FrameHook g_frameHooks[kMaxFrameHooks];
int g_frameHookCount;
WindowProcFn g_windowProc;
// The canvas stands for the window: the handle only has to be distinct and not null.
int g_canvas;

// The page shows the text; a page without the function leaves it on the console only.
EM_JS(void, PageMessage, (const char* caption, const char* text, int problem), {
  if (Module["qz2Message"]) Module["qz2Message"](UTF8ToString(caption), UTF8ToString(text), problem != 0);
});

EM_JS(void, PageCursor, (int show), {
  if (Module["canvas"]) Module["canvas"].style.cursor = show ? "" : "none";
});

// Suspends the program (its stack kept by Asyncify) until the browser is about to draw its next frame.
EM_ASYNC_JS(void, WaitForFrame, (),
            { await new Promise(function(resolve) { requestAnimationFrame(function() { resolve(); }); }); });

}  // namespace

WebPlatform::WebPlatform() : keys_(NewWebKeyDevice()) {}

WebPlatform::~WebPlatform() { delete keys_; }

BoxAnswer WebPlatform::ShowMessageBox(void*, const char* text, const char* caption, BoxButtons, bool errorIcon) {
  std::fprintf(errorIcon ? stderr : stdout, "%s: %s\n", caption, text);
  PageMessage(caption, text, errorIcon);
  return BoxAnswer::Ok;
}

void WebPlatform::ShowCursor(bool show) { PageCursor(show); }

// The program's stack is abandoned and the page told through the runtime's exit: nothing after it runs.
void WebPlatform::ExitProcess(int code) {
  std::fflush(nullptr);
  emscripten_force_exit(code);
  __builtin_unreachable();
}

uint32_t WebPlatform::TimeGetTime() { return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now())); }

bool WebPlatform::CurrentDirectory(char* buffer, uint32_t size) { return getcwd(buffer, size) != nullptr; }

int32_t WebPlatform::ReadIniInt(const char* section, const char* key, int32_t fallback, const char* path) {
  return IniFile_ReadInt(path, section, key, fallback);
}

// The page sizes the canvas; full screen is the page's button, which a browser grants only on a click.
void* WebPlatform::OpenWindow(const WindowRequest& request) {
  g_windowProc = request.windowProc;
  return &g_canvas;
}

void WebPlatform::CloseWindow(void* window) {
  if (window == &g_canvas && g_windowProc) g_windowProc(window, MessageDestroy, 0, 0);
}

void WebPlatform::PumpMessages() {
  WaitForFrame();
  for (int i = 0; i < g_frameHookCount; ++i) g_frameHooks[i]();
}

KeyDevice& WebPlatform::Keys() { return *keys_; }

void WebPlatform_AddFrameHook(FrameHook hook) {
  if (g_frameHookCount < kMaxFrameHooks) g_frameHooks[g_frameHookCount++] = hook;
}
