// The keyboard over SDL2's key state, reported by DirectInput key code.
#pragma once

#include "platform/platform.h"

KeyDevice* NewSdlKeyDevice();
