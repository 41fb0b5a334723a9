// Fuzz target: the configuration file reader, asked for the program's two settings and a missing one.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ini_file.h"
#include "tests/support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Scratch scratch;
  const std::string ini = scratch.Write("config.ini", data, size);
  IniFile_ReadInt(ini.c_str(), "CONFIG", "Color", 0);
  IniFile_ReadInt(ini.c_str(), "CONFIG", "Filtering", 1);
  IniFile_ReadInt(ini.c_str(), "OTHER", "Missing", 7);
  return 0;
}
