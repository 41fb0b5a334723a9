// The keyboard over SDL2's key state, reported by DirectInput key code.
#pragma once

#include "platform/platform.h"

// pumpEvents runs at every poll: the program has no message loop of its own.
KeyDevice* NewSdlKeyDevice(void (*pumpEvents)());
