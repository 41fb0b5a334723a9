// A sound device for tests: records opens and blocks, and plays nothing until the test completes blocks by hand.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/sound_device.h"

class FakeSoundDevice : public SoundDevice {
 public:
  uint32_t devices = 1;
  bool refuseOpen = false;

  uint32_t DeviceCount() override;
  bool Open(uint32_t device, const SoundFormat& format, SoundDoneFn done) override;
  void Reset() override;
  void Close() override;
  bool Prepare(SoundBlock& block) override;
  bool Write(SoundBlock& block) override;
  void Unprepare(SoundBlock& block) override;

  // Reports the oldest queued block done, as the system's thread would; false when none is queued.
  bool CompleteOldest();
  // Every block written so far, in order, with its bytes copied.
  std::vector<std::vector<int16_t>> Written();
  std::vector<SoundFormat> Opens();
  size_t Pending();
  bool IsOpen();
  int Closes();
  // Blocks reported done so far, by CompleteOldest or a reset.
  size_t Completions();
  size_t Prepared();
  size_t Unprepared();
  // Device calls made from inside a done report, which the system forbids: such a call may deadlock.
  int CallsDuringReports() { return callsDuringReports_; }

 private:
  void NoteCall();

  std::mutex lock_;
  std::atomic<int> callsDuringReports_{0};
  size_t prepared_ = 0;
  size_t unprepared_ = 0;
  SoundDoneFn done_ = nullptr;
  bool open_ = false;
  int closes_ = 0;
  size_t completions_ = 0;
  std::deque<SoundBlock*> pending_;
  std::vector<std::vector<int16_t>> written_;
  std::vector<SoundFormat> opens_;
};

// Installs a FakeSoundDevice for the life of the object.
class ScopedFakeSound {
 public:
  ScopedFakeSound() { SetSoundDevice(&device); }
  ~ScopedFakeSound() { SetSoundDevice(nullptr); }
  FakeSoundDevice device;
};
