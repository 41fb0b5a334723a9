// The sound device seam: a queue of PCM blocks that the system plays in order and reports back one by one.
//
// Shaped after waveOut: a block is prepared, written, reported done from a system thread once played, and
// unprepared. The device keeps no copy of the samples: a block's memory must stay valid until its report.
#pragma once

#include <cstdint>

// What the device was asked to play (the fields of a PCM WAVEFORMATEX).
struct SoundFormat {
  uint16_t formatTag;  // 1: PCM
  uint16_t channels;
  uint32_t samplesPerSecond;
  uint32_t bytesPerSecond;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
};

struct SoundBlock {
  const void* data;
  uint32_t bytes;
  void* system;  // the device's own record of the block while it is prepared
};

// Called once for every block written, after it has played or when the device is reset; may run on a
// thread of the system's.
using SoundDoneFn = void (*)(SoundBlock* block);

class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  // The number of output devices the system has; 0 when there is none.
  virtual uint32_t DeviceCount() = 0;
  virtual bool Open(uint32_t device, const SoundFormat& format, SoundDoneFn done) = 0;
  // Stops playing and reports every block still queued done.
  virtual void Reset() = 0;
  virtual void Close() = 0;
  virtual bool Prepare(SoundBlock& block) = 0;
  // A refused block is not queued; the caller unprepares it.
  virtual bool Write(SoundBlock& block) = 0;
  virtual void Unprepare(SoundBlock& block) = 0;
};

SoundDevice& Sound();
void SetSoundDevice(SoundDevice* device);
