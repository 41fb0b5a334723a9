// The viewer's command line: what plays, what is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/options.h"
#include "render/renderer.h"

namespace {

TEST(ShowOptions, CommandLinesAndWhatTheyAskFor) {
  struct Case {
    std::vector<const char*> args;
    OptionsResult result;
    bool windowed;
    int firstScene;
    const char* error;
    int32_t renderer = 0;
    float still = -1.0f;
  } cases[] = {
      {{}, OptionsResult::Play, false, 0, ""},
      {{"--window"}, OptionsResult::Play, true, 0, ""},
      {{"--scene", "4", "--window"}, OptionsResult::Play, true, 3, ""},
      {{"--scene", "9"}, OptionsResult::Play, false, 8, ""},
      {{"--window", "--help", "--bogus"}, OptionsResult::Help, true, 0, ""},
      {{"--scene"}, OptionsResult::Refused, false, 0, "qz2: --scene takes a scene number from 1 to 9"},
      {{"--scene", "0"}, OptionsResult::Refused, false, 0, "qz2: --scene takes a scene number from 1 to 9"},
      {{"--scene", "10"}, OptionsResult::Refused, false, 0, "qz2: --scene takes a scene number from 1 to 9"},
      {{"--scene", "4x"}, OptionsResult::Refused, false, 0, "qz2: --scene takes a scene number from 1 to 9"},
      {{"-window"}, OptionsResult::Refused, false, 0, "qz2: unknown option '-window'"},
      {{"--renderer", "gl2"},
       OptionsResult::Refused,
       false,
       0,
       "qz2: --renderer takes the name of a back end this build has"},
#ifdef _WIN32
      {{"--renderer", "d3d7"}, OptionsResult::Play, false, 0, "", RendererD3D7},
#else
      {{"--renderer", "gles", "--scene", "2"}, OptionsResult::Play, false, 1, "", RendererGLES},
#endif
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv = {"qz2"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    ShowOptions options;
    char error[128] = "";
    std::string line = argv.size() > 1 ? argv[1] : "(none)";
    EXPECT_EQ(ParseShowOptions(static_cast<int>(argv.size()), argv.data(), options, error, sizeof error), c.result)
        << line;
    EXPECT_EQ(options.windowed, c.windowed) << line;
    EXPECT_EQ(options.firstScene, c.firstScene) << line;
    EXPECT_EQ(options.renderer, c.renderer) << line;
    EXPECT_EQ(options.still, c.still) << line;
    EXPECT_STREQ(error, c.error) << line;
  }
}

}  // namespace
