// Start-up configuration: the display it opens, where the file is looked up, and a failed start.
#include <gtest/gtest.h>

#include "driver/config.h"
#include "platform/fake/fake_platform.h"
#include "render/recording_renderer.h"

namespace {

TEST(Config, DefaultsOpenAFullScreen32BitDisplayWithFiltering) {
  ScopedFakePlatform sys;
  RecordingRenderer renderer;
  ReadConfig(&renderer, reinterpret_cast<void*>(0x7));
  ASSERT_EQ(renderer.calls.size(), 1u);
  EXPECT_EQ(renderer.calls[0], "Init(800, 600, 32, 16, 1, ptr, 1)");
  ASSERT_EQ(sys->cursorCalls.size(), 1u);
  EXPECT_FALSE(sys->cursorCalls[0]);
}

TEST(Config, AnyNonZeroColorSelects16BitsAndFilteringZeroTurnsItOff) {
  ScopedFakePlatform sys;
  sys->iniValues["CONFIG/Color"] = -5;
  sys->iniValues["CONFIG/Filtering"] = 0;
  RecordingRenderer renderer;
  ReadConfig(&renderer, nullptr);
  EXPECT_EQ(renderer.calls[0], "Init(800, 600, 16, 16, 1, null, 0)");
}

TEST(Config, TheFileIsLookedUpInTheCurrentDirectory) {
  ScopedFakePlatform sys;
  sys->currentDirectory = "/srv/demo";
  RecordingRenderer renderer;
  ReadConfig(&renderer, nullptr);
  ASSERT_EQ(sys->iniPaths.size(), 2u);
  EXPECT_EQ(sys->iniPaths[0], std::string("/srv/demo") + PathSeparator + "config.ini");
}

TEST(Config, AFailedInitIsTheFatalInitFailure) {
  ScopedFakePlatform sys;
  RecordingRenderer renderer;
  renderer.initResult = false;
  try {
    ReadConfig(&renderer, nullptr);
    FAIL();
  } catch (const FakeExit& e) {
    EXPECT_EQ(e.code, -1);
  }
  EXPECT_EQ(sys->boxes.at(0).text, "Init Failure");
}

}  // namespace
