// Fuzz target: the configuration file reader, asked for the program's two settings and a missing one.
#include <cstddef>
#include <cstdint>

#include "platform/ini_file.h"
#include "tests/fuzz/fuzz_scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ScratchFile ini(".ini");
  if (!ini.Write(data, size)) return 0;
  IniFile_ReadInt(ini.Path(), "CONFIG", "Color", 0);
  IniFile_ReadInt(ini.Path(), "CONFIG", "Filtering", 1);
  IniFile_ReadInt(ini.Path(), "OTHER", "Missing", 7);
  return 0;
}
