// The test sound device: blocks wait in a queue until the test reports them done.
#include "platform/fake/fake_sound_device.h"

bool FakeSoundDevice::Open(uint32_t, const SoundFormat& format, SoundDoneFn done) {
  std::lock_guard<std::mutex> hold(lock_);
  if (refuseOpen || open_) return false;
  opens_.push_back(format);
  done_ = done;
  open_ = true;
  return true;
}

void FakeSoundDevice::Reset() {
  while (CompleteOldest()) {
  }
}

void FakeSoundDevice::Close() {
  std::lock_guard<std::mutex> hold(lock_);
  open_ = false;
  ++closes_;
}

bool FakeSoundDevice::Write(SoundBlock& block) {
  std::lock_guard<std::mutex> hold(lock_);
  if (!open_) return false;
  const auto* samples = static_cast<const int16_t*>(block.data);
  written_.emplace_back(samples, samples + block.bytes / 2);
  pending_.push_back(&block);
  return true;
}

bool FakeSoundDevice::CompleteOldest() {
  SoundBlock* block = nullptr;
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (pending_.empty()) return false;
    block = pending_.front();
    pending_.pop_front();
    ++completions_;
  }
  done_(block);
  return true;
}

std::vector<std::vector<int16_t>> FakeSoundDevice::Written() {
  std::lock_guard<std::mutex> hold(lock_);
  return written_;
}

std::vector<SoundFormat> FakeSoundDevice::Opens() {
  std::lock_guard<std::mutex> hold(lock_);
  return opens_;
}

size_t FakeSoundDevice::Pending() {
  std::lock_guard<std::mutex> hold(lock_);
  return pending_.size();
}

bool FakeSoundDevice::IsOpen() {
  std::lock_guard<std::mutex> hold(lock_);
  return open_;
}

int FakeSoundDevice::Closes() {
  std::lock_guard<std::mutex> hold(lock_);
  return closes_;
}

size_t FakeSoundDevice::Completions() {
  std::lock_guard<std::mutex> hold(lock_);
  return completions_;
}
