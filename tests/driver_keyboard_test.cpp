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
  keyboard.Update();
  EXPECT_TRUE(KeyPressed(KeyP));
  EXPECT_TRUE(KeyHeld(KeyP));
  keyboard.Update();
  EXPECT_FALSE(KeyPressed(KeyP));
  EXPECT_TRUE(KeyHeld(KeyP));
  keyboard.Update();
  EXPECT_FALSE(KeyPressed(KeyP));
  keyboard.Update();
  EXPECT_FALSE(KeyHeld(KeyP));
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

TEST(Keyboard, CloseUnacquiresOnlyAnAcquiredDevice) {
  ScopedFakePlatform sys;
  sys->keys.acquireResults.push_back(KeyGenericFailure);
  KEYBOARD keyboard;
  keyboard.init(nullptr, nullptr);
  keyboard.Close();
  EXPECT_EQ(sys->keys.unacquireCalls, 0);
  EXPECT_TRUE(sys->keys.deviceReleased);
  EXPECT_TRUE(sys->keys.inputReleased);
}

struct SetupFailure {
  int step;
  const char* message;
};

class KeyboardSetup : public testing::TestWithParam<SetupFailure> {};

TEST_P(KeyboardSetup, EachFailingStepIsFatalWithItsMessage) {
  ScopedFakePlatform sys;
  int32_t* results[] = {&sys->keys.createInputResult, &sys->keys.createDeviceResult, &sys->keys.dataFormatResult,
                        &sys->keys.cooperativeResult};
  *results[GetParam().step] = KeyGenericFailure;
  KEYBOARD keyboard;
  try {
    keyboard.init(nullptr, nullptr);
    FAIL() << "init returned";
  } catch (const FakeExit& e) {
    EXPECT_EQ(e.code, -1);
  }
  ASSERT_EQ(sys->boxes.size(), 1u);
  EXPECT_EQ(sys->boxes[0].text, GetParam().message);
  EXPECT_EQ(sys->boxes[0].caption, "QZ Fatal Error");
}

INSTANTIATE_TEST_SUITE_P(
    Keyboard, KeyboardSetup,
    testing::Values(SetupFailure{0, "Unable to create DirectInput object.KEYBOARD::init"},
                    SetupFailure{1, "Unable to create DirectInput device.KEYBOARD::init"},
                    SetupFailure{2, "Unable to setup the receive mode.KEYBORD::init"},
                    SetupFailure{3, "Unable to setup the CooperativeLevel.KEYBOARD::init"}));

}  // namespace
