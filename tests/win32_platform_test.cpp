// The Windows platform over the real system calls: the window's class and shapes, its close requests, the
// DirectInput keyboard, profile files and the waveOut output.
#include "platform/win32/win32_platform.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/app.h"
#include "driver/keyboard.h"
#include "music/wave_output.h"
#include "platform/close_request.h"
#include "platform/win32/waveout_device.h"
#include "render/window.h"
#include "tests/support.h"

namespace {

class Win32 : public testing::Test {
 protected:
  void SetUp() override {
    SetPlatform(&platform_);
    AppInstance = GetModuleHandleA(nullptr);
  }
  void TearDown() override { SetPlatform(nullptr); }

  Win32Platform platform_;
};

TEST_F(Win32, EachWindowShapeHasItsStylesPlaceAndAClientAreaOfTheSizeAsked) {
  struct Shape {
    bool fullscreen;
    DWORD exStyle;
    DWORD style;
    POINT corner;
  };
  const Shape shapes[] = {
      {false, WS_EX_APPWINDOW, WS_OVERLAPPEDWINDOW, {50, 50}},
      {true, WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, {0, 0}},
  };
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(shape.fullscreen ? "full screen" : "windowed");
    CreateMainWindow(800, 600, shape.fullscreen);
    HWND window = static_cast<HWND>(MainWindow);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & shape.exStyle, shape.exStyle);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (shape.style | WS_VISIBLE), shape.style | WS_VISIBLE);
    RECT outer;
    RECT client;
    ASSERT_TRUE(GetWindowRect(window, &outer));
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(outer.left, shape.corner.x);
    EXPECT_EQ(outer.top, shape.corner.y);
    EXPECT_EQ(client.right - client.left, 800);
    EXPECT_EQ(client.bottom - client.top, 600);
    char title[64];
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, kWindowTitle);
    // Left for the process to end with, as the program leaves its window.
    ShowWindow(window, SW_HIDE);
  }
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(GetClassInfoExA(static_cast<HINSTANCE>(AppInstance), kWindowClassName, &wc));
  EXPECT_EQ(wc.style, UINT(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
  EXPECT_EQ(wc.hbrBackground, GetStockObject(NULL_BRUSH));
  EXPECT_EQ(wc.cbClsExtra + wc.cbWndExtra, 0);
}

TEST_F(Win32, CloseAltF4AndTheSessionsEndReachTheShowAsACloseRequestAndLeaveTheWindowToIt) {
  CreateMainWindow(800, 600, false);
  HWND window = static_cast<HWND>(MainWindow);
  struct Request {
    const char* what;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } requests[] = {
      {"close button", WM_CLOSE, 0, 0},
      {"Alt+F4", WM_SYSKEYDOWN, VK_F4, LPARAM{KF_ALTDOWN} << 16},
      {"session end", WM_ENDSESSION, TRUE, 0},
  };
  for (const Request& r : requests) {
    Close_Reset();
    PostMessageA(window, r.message, r.wParam, r.lParam);
    // Alt+F4 comes back as the system's close command, then as WM_CLOSE.
    for (int pump = 0; pump < 3; ++pump) Sys().PumpMessages();
    EXPECT_TRUE(Close_Requested()) << r.what;
    EXPECT_TRUE(IsWindow(window)) << r.what << ": the renderer still draws into it";
  }
  Close_Reset();
  EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_TRUE(Close_Requested());
  Close_Reset();
  ShowWindow(window, SW_HIDE);
}

TEST_F(Win32, TheDirectInputKeyboardOpensForTheWindowWithNoKeyDown) {
  CreateMainWindow(800, 600, false);
  KEYBOARD keyboard;
  // A failed step would end the process with a fatal report.
  keyboard.init(AppInstance, MainWindow);
  for (int poll = 0; poll < 3; ++poll) {
    Sys().PumpMessages();
    keyboard.Update();
  }
  EXPECT_FALSE(KeyHeld(KeyEscape) || KeyHeld(KeyP) || KeyHeld(KeyM) || KeyHeld(KeyF12));
  keyboard.Close();
  ShowWindow(static_cast<HWND>(MainWindow), SW_HIDE);
}

TEST_F(Win32, ProfileIntegersAreReadFromTheNamedSectionWithTheirFallback) {
  const Scratch scratch;
  const std::string path = scratch.Write("config.ini", "[OTHER]\r\nFiltering=5\r\n[CONFIG]\r\nColor=16\r\n");
  EXPECT_EQ(Sys().ReadIniInt("CONFIG", "Color", 0, path.c_str()), 16);
  EXPECT_EQ(Sys().ReadIniInt("CONFIG", "Filtering", 1, path.c_str()), 1);
  EXPECT_EQ(Sys().ReadIniInt("CONFIG", "Color", 7, (path + ".absent").c_str()), 7);
}

TEST_F(Win32, WaveOutPlaysQueuedBlocksAndTheirReportsLetTheCloseFinish) {
  WaveOutDevice device;
  SetSoundDevice(&device);
  if (device.DeviceCount() == 0) {
    SetSoundDevice(nullptr);
    GTEST_SKIP() << "no waveOut device";
  }
  OutputFormat output = kUnsetOutput;
  ProbeOutputCapabilities(output);
  FitOutputFormat(output, 22050);
  ASSERT_EQ(WaveOpen(output), 0);
  // Nine short blocks, about 0.42 s: more than may be queued at once, so the writer waits for reports.
  const std::vector<int16_t> silence(2048, 0);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 9; ++i) EXPECT_EQ(WaveWrite(silence.data(), 4096), 4096);
  WaveClose(output);
  EXPECT_EQ(WaveQueued(), 0);
  // Every block was reported done through the callback: a close left waiting for the reports gives up after 2 s.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
  SetSoundDevice(nullptr);
}

}  // namespace
