// The demo clock: pausable seconds from the multimedia timer's milliseconds.
#include "driver/timer.h"

#include <cstdio>

#include "platform/platform.h"

namespace {

// Read with the timer resolution raised to 1 ms around the reading.
uint32_t ReadPrecise() {
  Sys().TimeBeginPeriod(1);
  uint32_t now = Sys().TimeGetTime();
  Sys().TimeEndPeriod(1);
  return now;
}

// Unsigned so that a span across the counter's wrap stays positive. The product of the count and
// the single-precision 0.001 is formed exactly, then rounded once to a float.
float Seconds(uint32_t ms) { return static_cast<float>(static_cast<long double>(ms) * 0.001f); }

}  // namespace

Timer::Timer(const char* name) : start_(ReadPrecise()) { std::snprintf(name_, sizeof name_, "%s", name); }

float Timer::Elapsed() {
  if (!running_) return Seconds(pauseTime_ - start_);
  Sys().TimeBeginPeriod(1);
  float seconds = Seconds(Sys().TimeGetTime() - start_);
  Sys().TimeEndPeriod(1);
  return seconds;
}

void Timer::Toggle() {
  if (running_) {
    running_ = false;
    pauseTime_ = Sys().TimeGetTime();
  } else {
    running_ = true;
    start_ += Sys().TimeGetTime() - pauseTime_;
  }
}
