#include "platform/frame_pacer.h"

#include <thread>

namespace {

// A swap that waits for the display comes at most once a refresh, give or take its jitter; a run of this many
// quicker ones shows that it does not wait.
constexpr int kQuickSwapsToPace = 30;

}  // namespace

// A display that does not say its refresh rate is taken for a 60 Hz one.
FramePacer::FramePacer(int refreshHz)
    : period_(std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / (refreshHz > 0 ? refreshHz : 60)) {
}

void FramePacer::AfterSwap() {
  const Clock::time_point now = Clock::now();
  if (!pacing_) {
    const bool quick = last_ != Clock::time_point{} && now - last_ < period_ * 3 / 4;
    quickSwaps_ = quick ? quickSwaps_ + 1 : 0;
    last_ = now;
    if (quickSwaps_ < kQuickSwapsToPace) return;
    pacing_ = true;
    next_ = now;
  }
  next_ += period_;
  // A frame that came late starts the count again from now, rather than hurrying the next ones.
  if (next_ <= now) {
    next_ = now;
    return;
  }
  std::this_thread::sleep_until(next_);
}
