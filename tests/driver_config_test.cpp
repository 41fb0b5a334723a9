// Start-up configuration: the display it opens, where the file is looked up, and a failed start.
#include <gtest/gtest.h>

#include "driver/config.h"
#include "render/recording_renderer.h"
#include "tests/support.h"

namespace {

// By default a full-screen 32-bit display with filtering; any non-zero Color selects 16 bits, Filtering 0 turns it off.
// The file is config.ini in the current directory.
TEST(Config, OpensTheDisplayTheFileAsksForAndHidesTheCursor) {
  ScopedFakePlatform sys;
  sys->currentDirectory = "/srv/demo";
  RecordingRenderer renderer;
  ReadConfig(&renderer, reinterpret_cast<void*>(0x7));
  EXPECT_EQ(sys->iniPaths, std::vector<std::string>(2, std::string("/srv/demo") + PathSeparator + "config.ini"));
  sys->iniValues["CONFIG/Color"] = -5;
  sys->iniValues["CONFIG/Filtering"] = 0;
  ReadConfig(&renderer, nullptr);
  EXPECT_EQ(renderer.calls,
            (std::vector<std::string>{"Init(800, 600, 32, 16, 1, ptr, 1)", "Init(800, 600, 16, 16, 1, null, 0)"}));
  EXPECT_EQ(sys->cursorCalls, (std::vector<bool>{false, false}));
}

TEST(Config, AFailedInitIsTheFatalInitFailure) {
  ScopedFakePlatform sys;
  RecordingRenderer renderer;
  renderer.initResult = false;
  EXPECT_EQ(ExitOf([&] { ReadConfig(&renderer, nullptr); }), -1);
  EXPECT_EQ(sys->boxes.at(0).text, "Init Failure");
}

}  // namespace
