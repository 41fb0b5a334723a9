// The viewer's options on the command line; without any, the show plays exactly as it always does.
#include "driver/options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/show_files.h"

const char* const kShowHelpText =
    "usage: qz2 [--window] [--scene N] [--help]\n"
    "\n"
    "  --window   play in an 800 x 600 window that can be resized, instead of full screen\n"
    "  --scene N  start at scene N (1 to 9), with the music the show plays under it\n"
    "  --help     show this text\n"
    "\n"
    "Keys: Escape (held) skips to the next scene, P pauses and resumes, F12 freezes and unfreezes\n"
    "the clock, M hides and shows the character in the fourth scene.\n";

namespace {

// A whole decimal number from 1 to kSceneCount, nothing else.
bool SceneNumber(const char* text, int& index) {
  char* end = nullptr;
  long n = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || n < 1 || n > kSceneCount) return false;
  index = static_cast<int>(n) - 1;
  return true;
}

}  // namespace

OptionsResult ParseShowOptions(int argc, const char* const* argv, ShowOptions& options, char* error,
                               unsigned errorSize) {
  options = {};
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) return OptionsResult::Help;
    if (std::strcmp(arg, "--window") == 0) {
      options.windowed = true;
    } else if (std::strcmp(arg, "--scene") == 0) {
      if (i + 1 >= argc || !SceneNumber(argv[i + 1], options.firstScene)) {
        std::snprintf(error, errorSize, "qz2: --scene takes a scene number from 1 to %d", kSceneCount);
        return OptionsResult::Refused;
      }
      ++i;
    } else {
      std::snprintf(error, errorSize, "qz2: unknown option '%s'", arg);
      return OptionsResult::Refused;
    }
  }
  return OptionsResult::Play;
}
