// Holds frames to the display's refresh where swapping buffers does not wait for it (a virtual display has no
// vertical blank to wait for): the show then draws as many frames as a display shows, and its character, which
// steps once a frame, moves at the pace it has on a real display, instead of as fast as the processor can draw.
#pragma once

#include <chrono>

class FramePacer {
 public:
  explicit FramePacer(int refreshHz);
  // Called right after each swap; waits out the rest of the refresh period once swaps have shown they do not.
  void AfterSwap();

 private:
  using Clock = std::chrono::steady_clock;
  Clock::duration period_;
  Clock::time_point last_{};
  Clock::time_point next_{};
  int quickSwaps_ = 0;
  bool pacing_ = false;
};
