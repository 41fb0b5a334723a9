// The Windows GUI entry point: only the instance handle is used, the command line is ignored.
#include <windows.h>

#include "platform/entry.h"
#include "platform/sound_device.h"
#include "platform/win32/waveout_device.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  static Win32Platform platform;
  SetPlatform(&platform);
  static WaveOutDevice sound;
  SetSoundDevice(&sound);
  return ProgramMain(instance);
}
