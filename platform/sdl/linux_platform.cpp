// The Linux platform's calls that need no display, so that the tools start without SDL's libraries.
#include "platform/sdl/linux_platform.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/ini_file.h"

// Ends the process at once from any thread: running static destructors while the other thread
// still plays music could crash on the way out.
void LinuxPlatform::ExitProcess(int code) {
  std::fflush(nullptr);
  std::_Exit(code);
}

uint32_t LinuxPlatform::TimeGetTime() {
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void LinuxPlatform::Sleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool LinuxPlatform::CurrentDirectory(char* buffer, uint32_t size) { return getcwd(buffer, size) != nullptr; }

int32_t LinuxPlatform::ReadIniInt(const char* section, const char* key, int32_t fallback, const char* path) {
  return IniFile_ReadInt(path, section, key, fallback);
}
