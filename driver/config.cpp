// Start-up configuration: config.ini in the current directory and the one call that opens the display.
#include "driver/config.h"

#include <cstdio>

#include "core/error.h"
#include "platform/platform.h"
#include "render/renderer.h"

namespace {

constexpr unsigned kPathSize = 260;
constexpr unsigned kDirectorySize = 256;
constexpr int kDepthBits = 16;

}  // namespace

void ReadConfig(Renderer* renderer, void* instance, bool fullscreen) {
  char directory[kDirectorySize];
  char path[kPathSize];
  // A current directory too long for the path is no configuration: the defaults apply.
  bool havePath = Sys().CurrentDirectory(directory, sizeof directory);
  if (havePath) {
    int n = std::snprintf(path, sizeof path, "%s%cconfig.ini", directory, PathSeparator);
    havePath = n > 0 && static_cast<unsigned>(n) < sizeof path;
  }
  Sys().ShowCursor(false);
  int32_t color = havePath ? Sys().ReadIniInt("CONFIG", "Color", 0, path) : 0;
  int32_t filtering = havePath ? Sys().ReadIniInt("CONFIG", "Filtering", 1, path) : 1;
  int32_t bitsPerPixel = color != 0 ? 16 : 32;
  // No renderer means no display either.
  if (!renderer ||
      !renderer->Init(kDisplayWidth, kDisplayHeight, bitsPerPixel, kDepthBits, fullscreen, instance, filtering != 0)) {
    ReportError("Init Failure", true);
  }
}
