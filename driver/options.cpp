// The viewer's options on the command line; without any, the show plays exactly as it always does.
#include "driver/options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/show_files.h"
#include "render/renderer.h"

#if defined(_WIN32) || defined(__EMSCRIPTEN__)
#define QZ2_RENDERER_HELP ""
#else
#define QZ2_RENDERER_HELP \
  "  --renderer R  draw with gl (OpenGL, the default) or gles (the shader back end, OpenGL ES 3)\n"
#endif

const char* const kShowHelpText =
    "usage: qz2 [--window] [--scene N] [--still T] [--renderer R] [--help]\n"
    "\n"
    "  --window      play in an 800 x 600 window that can be resized, instead of full screen\n"
    "  --scene N     start at scene N (1 to 9), with the music the show plays under it\n"
    "  --still T     show that scene's frame at T seconds, without music, until Escape is held\n" QZ2_RENDERER_HELP
    "  --help        show this text\n"
    "\n"
    "Keys: Escape (held) skips to the next scene, P pauses and resumes, F12 freezes and unfreezes\n"
    "the clock, M hides and shows the character in the fourth scene.\n";

namespace {

// Longer than any scene: a still past a scene's end shows its last frame.
constexpr float kMaxStillSeconds = 86400.0f;

// A whole decimal number from 1 to kSceneCount, nothing else.
bool SceneNumber(const char* text, int& index) {
  char* end = nullptr;
  long n = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || n < 1 || n > kSceneCount) return false;
  index = static_cast<int>(n) - 1;
  return true;
}

// A finite number of seconds, 0 or more, nothing else.
bool Seconds(const char* text, float& seconds) {
  char* end = nullptr;
  float t = std::strtof(text, &end);
  if (end == text || *end != '\0' || !(t >= 0.0f) || t > kMaxStillSeconds) return false;
  seconds = t;
  return true;
}

}  // namespace

// The Windows program draws with Direct3D 7 only, a page with the shader back end only.
int32_t RendererByName(const char* name) {
  struct Named {
    const char* name;
    int32_t kind;
  };
#ifdef _WIN32
  constexpr Named kRenderers[] = {{"d3d7", RendererD3D7}};
#elif defined(__EMSCRIPTEN__)
  constexpr Named kRenderers[] = {{"gles", RendererGLES}};
#else
  constexpr Named kRenderers[] = {{"gl", RendererGL}, {"gles", RendererGLES}};
#endif
  for (const Named& r : kRenderers) {
    if (std::strcmp(name, r.name) == 0) return r.kind;
  }
  return 0;
}

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
    } else if (std::strcmp(arg, "--still") == 0) {
      if (i + 1 >= argc || !Seconds(argv[i + 1], options.still)) {
        std::snprintf(error, errorSize, "qz2: --still takes a time in seconds, 0 or more");
        return OptionsResult::Refused;
      }
      ++i;
    } else if (std::strcmp(arg, "--renderer") == 0) {
      if (i + 1 >= argc || (options.renderer = RendererByName(argv[i + 1])) == 0) {
        std::snprintf(error, errorSize, "qz2: --renderer takes the name of a back end this build has");
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
