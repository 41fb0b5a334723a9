// The Linux entry point.
#include "platform/entry.h"

#include <signal.h>

#include "platform/close_request.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/sdl_sound_device.h"
#include "platform/sound_device.h"

namespace {

void RequestClose(int) { Close_Request(); }

// Interrupt, termination and a closed terminal end the show as closing its window does. Set before SDL starts,
// which then leaves them in place.
void CloseOnSignals() {
  struct sigaction action = {};
  action.sa_handler = RequestClose;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  CloseOnSignals();
  static SdlPlatform platform;
  SetPlatform(&platform);
  // Made after the platform so that it closes its device first at exit.
  static SdlSoundDevice sound;
  SetSoundDevice(&sound);
  return ProgramMain(nullptr, argc, argv);
}
