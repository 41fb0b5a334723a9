// The sound device over an SDL2 audio device whose callback plays the queued blocks in order.
#pragma once

#include <cstdint>
#include <mutex>

#include "platform/sound_device.h"

class SdlSoundDevice : public SoundDevice {
 public:
  ~SdlSoundDevice() override;
  uint32_t DeviceCount() override;
  bool Open(uint32_t device, const SoundFormat& format, SoundDoneFn done) override;
  void Reset() override;
  void Close() override;
  bool Prepare(SoundBlock&) override { return true; }
  bool Write(SoundBlock& block) override;
  void Unprepare(SoundBlock&) override {}

 private:
  static void Fill(void* self, uint8_t* stream, int length);
  SoundBlock* PopHead();

  // More than the writer ever has in flight.
  static constexpr uint32_t kQueueSize = 16;
  bool audioReady_ = false;
  bool audioTried_ = false;
  uint32_t id_ = 0;
  SoundDoneFn done_ = nullptr;
  // Guards the queue only; the done report is made without it, since the report takes the writer's lock.
  std::mutex queueLock_;
  SoundBlock* queue_[kQueueSize] = {};
  uint32_t head_ = 0;
  uint32_t count_ = 0;
  uint32_t played_ = 0;  // bytes of the head block already played
};
