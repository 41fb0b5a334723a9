// The Windows platform: USER32 boxes and window, the multimedia timer, DirectInput 7, profile files.
#define DIRECTINPUT_VERSION 0x0700
#include "platform/win32/win32_platform.h"

#include <windows.h>
#include <dinput.h>
#include <mmsystem.h>

#include <cstdio>

static_assert(WM_DESTROY == MessageDestroy && WM_CLOSE == MessageClose && WM_QUERYENDSESSION == MessageQueryEndSession &&
              WM_ENDSESSION == MessageEndSession);

namespace {

WindowProcFn g_windowProc;

// Close and the session's messages are the program's alone: the system's default for WM_CLOSE would destroy the
// window under the renderer.
LRESULT CALLBACK ForwardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      return g_windowProc(window, message, wParam, lParam);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// The system keyboard through DirectInput 7.
class DirectInputKeys : public KeyDevice {
 public:
  int32_t CreateInput(void* instance) override {
    return DirectInputCreateA(static_cast<HINSTANCE>(instance), 0x0700, &input_, nullptr);
  }
  int32_t CreateDevice() override { return input_->CreateDevice(GUID_SysKeyboard, &device_, nullptr); }
  int32_t SetDataFormat() override { return device_->SetDataFormat(&c_dfDIKeyboard); }
  int32_t SetCooperativeLevel(void* window, uint32_t flags) override {
    return device_->SetCooperativeLevel(static_cast<HWND>(window), flags);
  }
  int32_t Acquire() override { return device_->Acquire(); }
  int32_t Unacquire() override { return device_->Unacquire(); }
  int32_t GetState(uint8_t* state) override { return device_->GetDeviceState(KeyStateSize, state); }
  void ReleaseDevice() override {
    if (device_) device_->Release();
    device_ = nullptr;
  }
  void ReleaseInput() override {
    if (input_) input_->Release();
    input_ = nullptr;
  }

 private:
  IDirectInputA* input_ = nullptr;
  IDirectInputDeviceA* device_ = nullptr;
};

}  // namespace

Win32Platform::Win32Platform() : keys_(new DirectInputKeys) {}

Win32Platform::~Win32Platform() { delete keys_; }

BoxAnswer Win32Platform::ShowMessageBox(void* owner, const char* text, const char* caption, BoxButtons buttons,
                                        bool errorIcon) {
  UINT style = (buttons == BoxButtons::OkCancel ? MB_OKCANCEL : MB_OK) | (errorIcon ? MB_ICONERROR : 0);
  int answer = MessageBoxA(static_cast<HWND>(owner), text, caption, style);
  if (answer == 0) return BoxAnswer::Failed;
  return answer == IDCANCEL ? BoxAnswer::Cancel : BoxAnswer::Ok;
}

void Win32Platform::ShowCursor(bool show) { ::ShowCursor(show ? TRUE : FALSE); }

void Win32Platform::ExitProcess(int code) {
  std::fflush(nullptr);
  ::ExitProcess(static_cast<UINT>(code));
}

uint32_t Win32Platform::TimeGetTime() { return timeGetTime(); }

void Win32Platform::TimeBeginPeriod(uint32_t ms) { timeBeginPeriod(ms); }

void Win32Platform::TimeEndPeriod(uint32_t ms) { timeEndPeriod(ms); }

void Win32Platform::Sleep(uint32_t ms) { ::Sleep(ms); }

bool Win32Platform::CurrentDirectory(char* buffer, uint32_t size) {
  DWORD n = GetCurrentDirectoryA(size, buffer);
  return n != 0 && n < size;
}

int32_t Win32Platform::ReadIniInt(const char* section, const char* key, int32_t fallback, const char* path) {
  return static_cast<int32_t>(GetPrivateProfileIntA(section, key, fallback, path));
}

void* Win32Platform::OpenWindow(const WindowRequest& request) {
  HINSTANCE instance = static_cast<HINSTANCE>(request.instance);
  g_windowProc = request.windowProc;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = ForwardWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  wc.hIconSm = wc.hIcon;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  wc.lpszMenuName = request.className;
  wc.lpszClassName = request.className;
  RegisterClassExA(&wc);
  HWND window;
  if (request.fullscreen) {
    window = CreateWindowExA(WS_EX_TOPMOST, request.className, request.title, WS_POPUP | WS_VISIBLE, 0, 0,
                             request.width, request.height, nullptr, nullptr, instance, nullptr);
  } else {
    RECT r = {0, 0, request.width, request.height};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW);
    window = CreateWindowExA(WS_EX_APPWINDOW, request.className, request.title, WS_OVERLAPPEDWINDOW, 50, 50,
                             r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
  }
  if (!window) return nullptr;
  SetFocus(window);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  return window;
}

void Win32Platform::PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

KeyDevice& Win32Platform::Keys() { return *keys_; }
