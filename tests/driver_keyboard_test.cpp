// The keyboard: presses on the first poll only, held keys, lost devices and the set-up failures.
#include <gtest/gtest.h>

#include "driver/keyboard.h"
#include "platform/fake/fake_platform.h"

namespace {

TEST(Keyboard, NothingIsDownOrPressedRightAfterInit) {
  ScopedFakePlatform sys;
  KeyState[KeyEscape] = 0x80;
  PrevKeyState[KeyP] = 0x80;
  KEYBOARD keyboard;
  keyboard.init(nullptr, reinterpret_cast<void*>(0x99));
  for (int k = 0; k < 256; ++k) {
    EXPECT_FALSE(KeyHeld(static_cast<uint8_t>(k)));
    EXPECT_FALSE(KeyPressed(static_cast<uint8_t>(k)));
  }
  EXPECT_EQ(sys->keys.cooperativeFlags, 6u);
  EXPECT_EQ(sys->keys.cooperativeWindow, reinterpret_cast<void*>(0x99));
}

TEST(Keyboard, AHeldKeyIsPressedOnTheFirstPollOnly) {
  ScopedFakePlatform sys;
  KEYBOARD keyboard;
  keyboard.init(nullptr, nullptr);
  for (int i = 0; i < 3; ++i) sys->keys.Push({KeyP});
  sys->keys.Push({});
  const bool pressed[] = {true, false, false, false}, held[] = {true, true, true, false};
  for (int poll = 0; poll < 4; ++poll) {
    keyboard.Update();
    EXPECT_EQ(KeyPressed(KeyP), pressed[poll]) << poll;
    EXPECT_EQ(KeyHeld(KeyP), held[poll]) << poll;
  }
}

TEST(Keyboard, ALostDeviceKeepsTheOldStateAndIsReacquired) {
  ScopedFakePlatform sys;
  KEYBOARD keyboard;
  keyboard.init(nullptr, nullptr);
  sys->keys.Push({KeyEscape});
  sys->keys.Push({KeyEscape, KeyP}, KeyInputLost);
  sys->keys.Push({}, KeyNotAcquired);
  sys->keys.Push({KeyEscape, KeyP});
  keyboard.Update();
  int acquires = sys->keys.acquireCalls;
  keyboard.Update();
  EXPECT_TRUE(KeyHeld(KeyEscape));
  EXPECT_FALSE(KeyPressed(KeyEscape));
  EXPECT_FALSE(KeyHeld(KeyP));
  keyboard.Update();
  EXPECT_TRUE(KeyHeld(KeyEscape));
  EXPECT_EQ(sys->keys.acquireCalls, acquires + 2);
  keyboard.Update();
  EXPECT_TRUE(KeyPressed(KeyP));
  EXPECT_FALSE(KeyPressed(KeyEscape));
}

TEST(Keyboard, EachFailingSetUpStepIsFatalWithItsMessage) {
  const char* messages[] = {
      "Unable to create DirectInput object.KEYBOARD::init", "Unable to create DirectInput device.KEYBOARD::init",
      "Unable to setup the receive mode.KEYBORD::init", "Unable to setup the CooperativeLevel.KEYBOARD::init"};
  for (int step = 0; step < 4; ++step) {
    ScopedFakePlatform sys;
    int32_t* results[] = {&sys->keys.createInputResult, &sys->keys.createDeviceResult, &sys->keys.dataFormatResult,
                          &sys->keys.cooperativeResult};
    *results[step] = KeyGenericFailure;
    KEYBOARD keyboard;
    EXPECT_THROW(keyboard.init(nullptr, nullptr), FakeExit);
    ASSERT_EQ(sys->boxes.size(), 1u);
    EXPECT_EQ(sys->boxes[0].text, messages[step]);
  }
}

}  // namespace
