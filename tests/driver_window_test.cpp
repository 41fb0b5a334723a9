// The one window: its class, title and shape, and closing it ends the process with exit code 0.
#include <gtest/gtest.h>

#include <string>

#include "core/app.h"
#include "platform/fake/fake_platform.h"
#include "render/renderer.h"
#include "render/window.h"

namespace {

TEST(MainWindow, IsCreatedWithTheProgramsClassAndTitleAndStored) {
  ScopedFakePlatform sys;
  AppInstance = reinterpret_cast<void*>(0x400000);
  CreateMainWindow(800, 600, true);
  ASSERT_EQ(sys->windows.size(), 1u);
  const WindowRequest& request = sys->windows[0];
  EXPECT_EQ(std::string(request.className), "QZ2");
  EXPECT_EQ(std::string(request.title), "QZ2 V2.02 D3D7");
  EXPECT_EQ(request.width, 800);
  EXPECT_EQ(request.height, 600);
  EXPECT_TRUE(request.fullscreen);
  EXPECT_EQ(request.instance, AppInstance);
  EXPECT_EQ(MainWindow, sys->windowToReturn);
  MainWindow = nullptr;
  AppInstance = nullptr;
}

TEST(MainWindow, CloseDestroysTheWindowAndDestroyEndsWithExitCodeZero) {
  ScopedFakePlatform sys;
  void* window = reinterpret_cast<void*>(0x77);
  EXPECT_EQ(WindowProc(window, MessageClose, 0, 0), 0);
  ASSERT_EQ(sys->closedWindows.size(), 1u);
  EXPECT_EQ(sys->closedWindows[0], window);
  try {
    WindowProc(window, MessageDestroy, 0, 0);
    FAIL() << "destroy returned";
  } catch (const FakeExit& e) {
    EXPECT_EQ(e.code, 0);
  }
  EXPECT_EQ(WindowProc(window, 0x0F, 0, 0), 0) << "other messages are left alone";
}

}  // namespace
