// The Linux entry point.
#include "platform/entry.h"

#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/sdl_sound_device.h"
#include "platform/sound_device.h"

int main(int argc, char** argv) {
  static SdlPlatform platform;
  SetPlatform(&platform);
  // Made after the platform so that it closes its device first at exit.
  static SdlSoundDevice sound;
  SetSoundDevice(&sound);
  return ProgramMain(nullptr, argc, argv);
}
