// The Windows GUI entry point: the instance handle and the command line as the C runtime splits it.
#include "platform/entry.h"

#include <windows.h>
#include <stdlib.h>

#include "platform/sound_device.h"
#include "platform/win32/waveout_device.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  static Win32Platform platform;
  SetPlatform(&platform);
  static WaveOutDevice sound;
  SetSoundDevice(&sound);
  return ProgramMain(instance, __argc, __argv);
}
