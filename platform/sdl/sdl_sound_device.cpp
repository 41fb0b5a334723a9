// The sound device over SDL2 audio: a callback copies the queued blocks out in order and reports each one
// done as soon as its last byte has been copied.
#include "platform/sdl/sdl_sound_device.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

SdlSoundDevice::~SdlSoundDevice() { Close(); }

uint32_t SdlSoundDevice::DeviceCount() {
  if (!audioTried_) {
    audioTried_ = true;
    audioReady_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  }
  if (!audioReady_) return 0;
  // Some back ends cannot list their devices (-1) but still open the default one.
  const int count = SDL_GetNumAudioDevices(0);
  return count < 0 ? 1 : uint32_t(count);
}

bool SdlSoundDevice::Open(uint32_t, const SoundFormat& format, SoundDoneFn done) {
  if (!audioReady_ || id_ != 0 || format.bitsPerSample != 16) return false;
  SDL_AudioSpec want{};
  want.freq = int(format.samplesPerSecond);
  want.format = AUDIO_S16LSB;
  want.channels = uint8_t(format.channels);
  want.samples = 1024;
  want.callback = Fill;
  want.userdata = this;
  SDL_AudioSpec have{};
  // SDL converts to whatever the hardware wants, so the callback always sees the format asked for.
  const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (id == 0) return false;
  done_ = done;
  head_ = count_ = played_ = 0;
  id_ = id;
  SDL_PauseAudioDevice(id_, 0);
  return true;
}

SoundBlock* SdlSoundDevice::PopHead() {
  SoundBlock* block = queue_[head_];
  head_ = (head_ + 1) % kQueueSize;
  --count_;
  played_ = 0;
  return block;
}

void SdlSoundDevice::Fill(void* self, uint8_t* stream, int length) {
  auto* device = static_cast<SdlSoundDevice*>(self);
  uint32_t left = uint32_t(length);
  while (left > 0) {
    SoundBlock* finished = nullptr;
    {
      std::lock_guard<std::mutex> hold(device->queueLock_);
      if (device->count_ == 0) break;
      SoundBlock* head = device->queue_[device->head_];
      const uint32_t n = std::min(left, head->bytes - device->played_);
      std::memcpy(stream, static_cast<const uint8_t*>(head->data) + device->played_, n);
      stream += n;
      left -= n;
      device->played_ += n;
      if (device->played_ == head->bytes) finished = device->PopHead();
    }
    if (finished) device->done_(finished);
  }
  std::memset(stream, 0, left);
}

bool SdlSoundDevice::Write(SoundBlock& block) {
  std::lock_guard<std::mutex> hold(queueLock_);
  if (id_ == 0 || count_ == kQueueSize) return false;
  queue_[(head_ + count_) % kQueueSize] = &block;
  ++count_;
  return true;
}

void SdlSoundDevice::Reset() {
  for (;;) {
    SoundBlock* block = nullptr;
    {
      std::lock_guard<std::mutex> hold(queueLock_);
      if (count_ == 0) return;
      block = PopHead();
    }
    done_(block);
  }
}

void SdlSoundDevice::Close() {
  if (id_ == 0) return;
  // Closing waits for a callback in progress, which may be reporting a block done.
  SDL_CloseAudioDevice(id_);
  id_ = 0;
  head_ = count_ = played_ = 0;
}
