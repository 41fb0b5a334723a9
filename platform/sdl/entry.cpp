// The Linux entry point: no arguments are read.
#include "platform/entry.h"
#include "platform/sdl/sdl_platform.h"

int main() {
  static SdlPlatform platform;
  SetPlatform(&platform);
  return ProgramMain(nullptr);
}
