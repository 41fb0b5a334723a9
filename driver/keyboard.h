// The keyboard: the current and previous key states of all 256 DirectInput key codes, polled once per frame.
#pragma once

#include <cstdint>

// Bit 0x80 of a byte is set while its key is down.
extern uint8_t KeyState[256];
extern uint8_t PrevKeyState[256];

enum KeyCode : uint8_t {
  KeyEscape = 0x01,
  KeyP = 0x19,
  KeyM = 0x32,
  KeyF12 = 0x58,
};

// Down in the latest poll.
bool KeyHeld(uint8_t key);
// Down in the latest poll and up in the one before.
bool KeyPressed(uint8_t key);

class KEYBOARD {
 public:
  // Opens the system keyboard for the window; any failure before the acquisition is fatal.
  KEYBOARD* init(void* instance, void* window);
  // Takes a new snapshot; a lost device keeps the old one and is re-acquired. Returns the read's result.
  int32_t Update();
  void Close();

 private:
  bool created_ = false;
  bool acquired_ = false;
};
