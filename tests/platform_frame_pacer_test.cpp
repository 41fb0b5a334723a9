#include "platform/frame_pacer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Swaps that do not wait are held to the refresh once a run of them has shown it; swaps that wait for the display
// (here a sleep of a refresh period) are never held back further.
TEST(FramePacer, HoldsOnlySwapsThatDoNotWaitForTheDisplay) {
  constexpr int kHz = 200, kSwaps = 80;  // a 5 ms refresh
  FramePacer quick(kHz);
  Clock::time_point start = Clock::now();
  for (int i = 0; i < kSwaps; ++i) quick.AfterSwap();
  // The first thirty-one go unheld; the rest take a period each.
  EXPECT_GE(Clock::now() - start, milliseconds(5 * (kSwaps - 31)));

  FramePacer waiting(kHz);
  start = Clock::now();
  for (int i = 0; i < kSwaps; ++i) {
    std::this_thread::sleep_for(milliseconds(5));
    waiting.AfterSwap();
  }
  // Held, each would take two periods.
  EXPECT_LT(Clock::now() - start, milliseconds(5 * kSwaps * 3 / 2));
}

}  // namespace
