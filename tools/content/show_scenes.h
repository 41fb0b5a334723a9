// The nine scenes of the default show, written as .qz3 files.
#pragma once

#include <cstdint>
#include <vector>

#include "driver/show_files.h"

// How long scene index i (0 to 8) plays, in seconds: its camera track's duration.
float ShowSceneSeconds(int index);
// The .qz3 bytes of scene index i with a camera track of the given length; the same bytes on every run.
std::vector<uint8_t> BuildShowScene(int index, float seconds);
