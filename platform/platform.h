// The seam between the portable program and the operating system: one implementation per platform, a fake for tests.
//
// The rule for every seam in platform/: what a test replaces is an interface of virtual functions, set once
// at start-up (SetPlatform, SetSoundDevice) and reached through one accessor (Sys(), Sound()), with a fake in
// platform/fake/; what tests use as it is (the GL context, shared libraries, private directories, the console) is a set
// of free functions named Module_Verb, chosen at link time, one file per platform. Portable helpers kept here
// (IniFile_ReadInt) are named the same way.
//
// Nothing outside platform/ includes a system header. Results of the key device calls follow DirectInput
// (0 success, negative HRESULT-style failures) so the keyboard logic is the same on every platform.
#pragma once

#include <cstdint>

enum class BoxButtons { Ok, OkCancel };
enum class BoxAnswer { Ok, Cancel, Failed };

// The system's window messages that reach the window procedure.
enum WindowMessage : uint32_t {
  MessageDestroy = 2,
  MessageClose = 0x10,
  MessageQueryEndSession = 0x11,  // the session asks whether it may end
  MessageEndSession = 0x16,       // wParam non-zero: the session ends
};
using WindowProcFn = intptr_t (*)(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// DirectInput results the keyboard tells apart.
constexpr int32_t KeyResultOk = 0;
constexpr int32_t KeyNotAcquired = static_cast<int32_t>(0x8007000C);
constexpr int32_t KeyInputLost = static_cast<int32_t>(0x8007001E);
constexpr int32_t KeyGenericFailure = static_cast<int32_t>(0x80004005);
constexpr int KeyStateSize = 256;

// The system keyboard, opened step by step as DirectInput opens it.
class KeyDevice {
 public:
  virtual ~KeyDevice() = default;
  virtual int32_t CreateInput(void* instance) = 0;
  virtual int32_t CreateDevice() = 0;
  virtual int32_t SetDataFormat() = 0;
  virtual int32_t SetCooperativeLevel(void* window, uint32_t flags) = 0;
  virtual int32_t Acquire() = 0;
  virtual int32_t Unacquire() = 0;
  // Fills 256 key bytes indexed by DirectInput key code, bit 0x80 set while the key is down.
  virtual int32_t GetState(uint8_t* state) = 0;
  virtual void ReleaseDevice() = 0;
  virtual void ReleaseInput() = 0;
};

struct WindowRequest {
  const char* className;
  const char* title;
  int32_t width;
  int32_t height;
  bool fullscreen;
  void* instance;
  WindowProcFn windowProc;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Modal box; Failed when no box can be shown (no display).
  virtual BoxAnswer ShowMessageBox(void* owner, const char* text, const char* caption, BoxButtons buttons,
                                   bool errorIcon) = 0;
  virtual void ShowCursor(bool show) = 0;
  // Ends the process at once with the given exit code.
  [[noreturn]] virtual void ExitProcess(int code) = 0;

  // The multimedia timer: milliseconds, wrapping at 2^32.
  virtual uint32_t TimeGetTime() = 0;
  virtual void TimeBeginPeriod(uint32_t ms) = 0;
  virtual void TimeEndPeriod(uint32_t ms) = 0;
  // Gives the processor away for about ms milliseconds.
  virtual void Sleep(uint32_t ms) = 0;

  // Copies the current directory into buffer (size bytes with terminator); false if it does not fit.
  virtual bool CurrentDirectory(char* buffer, uint32_t size) = 0;
  // GetPrivateProfileIntA: the integer of key in [section] of the file at path, or fallback.
  virtual int32_t ReadIniInt(const char* section, const char* key, int32_t fallback, const char* path) = 0;

  // Creates and shows the main window; null on failure. It lives until the process ends.
  virtual void* OpenWindow(const WindowRequest& request) = 0;
  // Hands every message waiting for the window to its window procedure, without waiting for one: called once
  // per frame, so the system never takes the window for hung and a close request arrives.
  virtual void PumpMessages() = 0;

  virtual KeyDevice& Keys() = 0;
};

Platform& Sys();
void SetPlatform(Platform* platform);

// The separator of "%s\%s" data file names on this platform.
#ifdef _WIN32
constexpr char PathSeparator = '\\';
#else
constexpr char PathSeparator = '/';
#endif
