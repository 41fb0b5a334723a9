// The keyboard: the current and previous key states of all 256 DirectInput key codes, polled once per frame.
#include "driver/keyboard.h"

#include <cstring>

#include "core/error.h"
#include "platform/platform.h"

uint8_t KeyState[256];
uint8_t PrevKeyState[256];

namespace {

constexpr uint32_t kNonExclusiveForeground = 2 | 4;

}  // namespace

bool KeyHeld(uint8_t key) { return (KeyState[key] & 0x80) != 0; }

bool KeyPressed(uint8_t key) { return (KeyState[key] & 0x80) != 0 && (PrevKeyState[key] & 0x80) == 0; }

KEYBOARD* KEYBOARD::init(void* instance, void* window) {
  std::memset(KeyState, 0, sizeof KeyState);
  std::memset(PrevKeyState, 0, sizeof PrevKeyState);
  KeyDevice& device = Sys().Keys();
  if (device.CreateInput(instance) != 0) ReportError("Unable to create DirectInput object.KEYBOARD::init", true);
  if (device.CreateDevice() != 0) ReportError("Unable to create DirectInput device.KEYBOARD::init", true);
  created_ = true;
  if (device.SetDataFormat() != 0) ReportError("Unable to setup the receive mode.KEYBORD::init", true);
  if (device.SetCooperativeLevel(window, kNonExclusiveForeground) != 0) {
    ReportError("Unable to setup the CooperativeLevel.KEYBOARD::init", true);
  }
  acquired_ = device.Acquire() >= 0;
  return this;
}

int32_t KEYBOARD::Update() {
  std::memcpy(PrevKeyState, KeyState, sizeof KeyState);
  KeyDevice& device = Sys().Keys();
  int32_t result = device.GetState(KeyState);
  if (result == KeyNotAcquired || result == KeyInputLost) {
    // The old snapshot stays: no fresh presses on this poll, held keys stay held.
    std::memcpy(KeyState, PrevKeyState, sizeof KeyState);
    acquired_ = false;
    result = device.Acquire();
    acquired_ = result >= 0;
  } else if (result != 0) {
    std::memcpy(KeyState, PrevKeyState, sizeof KeyState);
  }
  return result;
}

void KEYBOARD::Close() {
  KeyDevice& device = Sys().Keys();
  if (acquired_) {
    device.Unacquire();
    acquired_ = false;
  }
  if (created_) {
    device.ReleaseDevice();
    device.ReleaseInput();
    created_ = false;
  }
}
