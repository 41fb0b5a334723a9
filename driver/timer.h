// The demo clock: pausable seconds from the multimedia timer's milliseconds.
#pragma once

#include <cstdint>

class Timer {
 public:
  // Starts running at time 0.
  explicit Timer(const char* name);

  // Seconds since construction, paused time excluded.
  float Elapsed();
  // Pauses a running clock, resumes a paused one.
  void Toggle();

 private:
  char name_[64];
  uint32_t start_;
  uint32_t pauseTime_ = 0;
  bool running_ = true;
};
