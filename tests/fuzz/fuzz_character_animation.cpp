// Fuzz target: a character animation (.qza) played over a small sound mesh.
#include "tests/fuzz/fuzz_character.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return PlayCharacter(data, size, false); }
