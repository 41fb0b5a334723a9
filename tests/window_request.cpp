// Asks the program's window, from another process, what a user asks of it from the taskbar or the title bar:
// "restore" (shown again and brought to the front) or "close" (a posted WM_CLOSE). Usage: window_request WHAT.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: window_request restore|close\n", stderr);
    return 2;
  }
  HWND window = FindWindowA("QZ2", nullptr);
  if (!window) {
    std::fputs("window_request: no window of class QZ2\n", stderr);
    return 1;
  }
  if (std::strcmp(argv[1], "close") == 0) return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
  if (std::strcmp(argv[1], "restore") == 0) {
    ShowWindow(window, SW_RESTORE);
    return SetForegroundWindow(window) ? 0 : 1;
  }
  return 2;
}
