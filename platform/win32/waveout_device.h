// The sound device over waveOut: a WAVEHDR in global memory per prepared block, reported by a callback function.
#pragma once

#include "platform/sound_device.h"

class WaveOutDevice : public SoundDevice {
 public:
  uint32_t DeviceCount() override;
  bool Open(uint32_t device, const SoundFormat& format, SoundDoneFn done) override;
  void Reset() override;
  void Close() override;
  bool Prepare(SoundBlock& block) override;
  bool Write(SoundBlock& block) override;
  void Unprepare(SoundBlock& block) override;

 private:
  void* handle_ = nullptr;
};
