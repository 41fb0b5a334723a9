// The test sound device: blocks wait in a queue until the test reports them done.
#include "platform/fake/fake_sound_device.h"

namespace {

// Set on the thread that is delivering a done report.
thread_local bool t_reporting = false;

}  // namespace

void FakeSoundDevice::NoteCall() {
  if (t_reporting) ++callsDuringReports_;
}

uint32_t FakeSoundDevice::DeviceCount() {
  NoteCall();
  return devices;
}

bool FakeSoundDevice::Open(uint32_t, const SoundFormat& format, SoundDoneFn done) {
  NoteCall();
  std::lock_guard<std::mutex> hold(lock_);
  if (refuseOpen || open_) return false;
  opens_.push_back(format);
  done_ = done;
  open_ = true;
  return true;
}

void FakeSoundDevice::Reset() {
  NoteCall();
  while (CompleteOldest()) {
  }
}

void FakeSoundDevice::Close() {
  NoteCall();
  std::lock_guard<std::mutex> hold(lock_);
  open_ = false;
  ++closes_;
}

bool FakeSoundDevice::Prepare(SoundBlock&) {
  NoteCall();
  std::lock_guard<std::mutex> hold(lock_);
  ++prepared_;
  return true;
}

bool FakeSoundDevice::Write(SoundBlock& block) {
  NoteCall();
  std::lock_guard<std::mutex> hold(lock_);
  if (!open_) return false;
  const auto* samples = static_cast<const int16_t*>(block.data);
  written_.emplace_back(samples, samples + block.bytes / 2);
  pending_.push_back(&block);
  return true;
}

void FakeSoundDevice::Unprepare(SoundBlock&) {
  NoteCall();
  std::lock_guard<std::mutex> hold(lock_);
  ++unprepared_;
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
  t_reporting = true;
  done_(block);
  t_reporting = false;
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

size_t FakeSoundDevice::Prepared() {
  std::lock_guard<std::mutex> hold(lock_);
  return prepared_;
}

size_t FakeSoundDevice::Unprepared() {
  std::lock_guard<std::mutex> hold(lock_);
  return unprepared_;
}
