// Fuzz target: a skinned character mesh (.qzb) played by a small sound animation.
#include "tests/fuzz/fuzz_character.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return PlayCharacter(data, size, true); }
