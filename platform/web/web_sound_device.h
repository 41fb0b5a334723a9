// The sound device of the page: Web Audio, fed from the frame loop.
#pragma once

#include <cstdint>

#include "platform/sound_device.h"

// Each written block is scheduled at once to play after the one before; it is reported done, from the frame
// hook, once the page's audio clock has passed its end. The page makes the audio context on the click that
// starts the show; without one there is no device.
class WebSoundDevice : public SoundDevice {
 public:
  WebSoundDevice();
  uint32_t DeviceCount() override;
  bool Open(uint32_t device, const SoundFormat& format, SoundDoneFn done) override;
  void Reset() override;
  void Close() override;
  bool Prepare(SoundBlock&) override { return true; }
  bool Write(SoundBlock& block) override;
  void Unprepare(SoundBlock&) override {}
  // Reports the blocks that have played.
  void Poll();

 private:
  static constexpr int kMaxBlocks = 16;
  struct Pending {
    SoundBlock* block;
    double end;  // seconds on the page's audio clock
  };
  SoundDoneFn done_ = nullptr;
  uint32_t rate_ = 0;
  Pending pending_[kMaxBlocks] = {};
  int count_ = 0;
};
