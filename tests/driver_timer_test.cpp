// The demo clock: seconds from unsigned milliseconds, pausing without a jump, the counter's wrap.
#include <gtest/gtest.h>

#include "driver/timer.h"
#include "platform/fake/fake_platform.h"

namespace {

TEST(Timer, StartsAtZeroAndGivesTheSinglePrecisionProductOfBracketedReads) {
  ScopedFakePlatform sys;
  sys->now = 5000;
  Timer clock("Timer01");
  EXPECT_EQ(clock.Elapsed(), 0.0f);
  sys->now = 5000 + 1234;
  EXPECT_EQ(clock.Elapsed(), static_cast<float>(1234.0L * 0.001f));
  EXPECT_NEAR(clock.Elapsed(), 1.234f, 1e-6f);
  // Every read is bracketed by the one-millisecond resolution.
  EXPECT_EQ(sys->periodCalls, 4);
  EXPECT_EQ(sys->periodDepth, 0);
}

TEST(Timer, PauseFreezesTheValueAndResumesWithoutAJump) {
  ScopedFakePlatform sys;
  sys->now = 100;
  Timer clock("Timer01");
  sys->now = 600;
  clock.Toggle();
  int readsBefore = sys->timeReads;
  int periodsBefore = sys->periodCalls;
  sys->now = 1600;
  EXPECT_EQ(clock.Elapsed(), 0.5f);
  sys->now = 2600;
  EXPECT_EQ(clock.Elapsed(), 0.5f);
  EXPECT_EQ(sys->timeReads, readsBefore) << "a paused clock reads no timer";
  EXPECT_EQ(sys->periodCalls, periodsBefore);
  clock.Toggle();
  EXPECT_EQ(clock.Elapsed(), 0.5f);
  sys->now = 2850;
  EXPECT_FLOAT_EQ(clock.Elapsed(), 0.75f);
}

TEST(Timer, ASceneAcrossTheCounterWrapGetsContinuousTime) {
  ScopedFakePlatform sys;
  sys->now = 0xFFFFFF00u;
  Timer clock("Timer01");
  sys->now = 0x100;  // 512 ms later, past the wrap
  EXPECT_EQ(clock.Elapsed(), 0.512f);
  clock.Toggle();
  sys->now = 0x300;
  clock.Toggle();
  EXPECT_EQ(clock.Elapsed(), 0.512f);
}

}  // namespace
