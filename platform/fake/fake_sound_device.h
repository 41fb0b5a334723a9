// A sound device for tests: records opens and blocks, and plays nothing until the test completes blocks by hand.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/sound_device.h"

class FakeSoundDevice : public SoundDevice {
 public:
  uint32_t devices = 1;
  bool refuseOpen = false;

  uint32_t DeviceCount() override { return devices; }
  bool Open(uint32_t device, const SoundFormat& format, SoundDoneFn done) override;
  void Reset() override;
  void Close() override;
  bool Prepare(SoundBlock&) override { return true; }
  bool Write(SoundBlock& block) override;
  void Unprepare(SoundBlock&) override {}

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

 private:
  std::mutex lock_;
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
