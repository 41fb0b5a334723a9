// The process-wide sound device the music output plays through.
#include "platform/sound_device.h"

#include <cstdio>
#include <cstdlib>

static SoundDevice* g_sound;

SoundDevice& Sound() {
  if (!g_sound) {
    std::fputs("qz2: no sound device set\n", stderr);
    std::abort();
  }
  return *g_sound;
}

void SetSoundDevice(SoundDevice* device) { g_sound = device; }
