// The keyboard from the page's key events, reported by DirectInput key code.
#pragma once

#include "platform/platform.h"

KeyDevice* NewWebKeyDevice();
