// The browser's entry point: the page calls main once the pack is in the in-memory file system and a click has
// let sound start.
#include <cstdlib>

#include "platform/entry.h"

#include "platform/sound_device.h"
#include "platform/web/web_platform.h"
#include "platform/web/web_sound_device.h"

int main(int argc, char** argv) {
  static WebPlatform platform;
  SetPlatform(&platform);
  static WebSoundDevice sound;
  SetSoundDevice(&sound);
  // Exits rather than returns: a main that has yielded to the page returns to no caller that would end the run.
  std::exit(ProgramMain(nullptr, argc, argv));
}
