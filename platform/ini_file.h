// Integer lookup in a Windows-style initialisation file, with the rules of GetPrivateProfileIntA.
#pragma once

#include <cstdint>

// The value of key in [section] of the file at path: section and key compared without case,
// blanks around names and values ignored, the leading decimal digits (with an optional sign)
// of the value read, 0 when the value has none. fallback when the file, section or key is missing.
int32_t IniFile_ReadInt(const char* path, const char* section, const char* key, int32_t fallback);
