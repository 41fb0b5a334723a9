// The sound device of the page: 16-bit stereo blocks copied into Web Audio buffers and scheduled back to back.
#include "platform/web/web_sound_device.h"

#include <emscripten.h>

#include "platform/web/web_platform.h"

namespace {

EM_JS(int, AudioReady, (), { return Module["qz2Audio"] ? 1 : 0; });

EM_JS(double, AudioTime, (), { return Module["qz2Audio"].currentTime; });

// Schedules frames of interleaved 16-bit stereo after what is already scheduled (or just ahead of now, after a
// gap), and returns when they end. The page counts the frames that reach it.
EM_JS(double, AudioQueue, (const int16_t* samples, int frames, int rate), {
  var audio = Module["qz2Audio"];
  var buffer = audio.createBuffer(2, frames, rate);
  var left = buffer.getChannelData(0);
  var right = buffer.getChannelData(1);
  var base = samples >> 1;
  for (var i = 0; i < frames; ++i) {
    left[i] = HEAP16[base + 2 * i] / 32768;
    right[i] = HEAP16[base + 2 * i + 1] / 32768;
  }
  var source = audio.createBufferSource();
  source.buffer = buffer;
  source.connect(audio.destination);
  var start = Math.max(Module["qz2AudioNext"] || 0, audio.currentTime + 0.02);
  source.start(start);
  Module["qz2AudioNext"] = start + buffer.duration;
  var sources = Module["qz2AudioSources"] = Module["qz2AudioSources"] || [];
  sources.push(source);
  source.onended = function() { sources.splice(sources.indexOf(source), 1); };
  Module["qz2SamplesPlayed"] = (Module["qz2SamplesPlayed"] || 0) + frames;
  return Module["qz2AudioNext"];
});

EM_JS(void, AudioStop, (), {
  (Module["qz2AudioSources"] || []).slice().forEach(function(source) { source.stop(); });
  Module["qz2AudioNext"] = 0;
});

WebSoundDevice* g_device;

void PollDevice() { g_device->Poll(); }

}  // namespace

WebSoundDevice::WebSoundDevice() {
  g_device = this;
  WebPlatform_AddFrameHook(PollDevice);
}

uint32_t WebSoundDevice::DeviceCount() { return AudioReady() ? 1 : 0; }

// The device always plays what the synthesis makes: 16-bit stereo.
bool WebSoundDevice::Open(uint32_t, const SoundFormat& format, SoundDoneFn done) {
  if (!AudioReady() || format.channels != 2 || format.bitsPerSample != 16) return false;
  done_ = done;
  rate_ = format.samplesPerSecond;
  return true;
}

void WebSoundDevice::Reset() {
  if (AudioReady()) AudioStop();
  while (count_ > 0) done_(pending_[--count_].block);
}

void WebSoundDevice::Close() { Reset(); }

bool WebSoundDevice::Write(SoundBlock& block) {
  if (count_ == kMaxBlocks || !done_) return false;
  const int frames = static_cast<int>(block.bytes / 4);
  pending_[count_++] = {&block, AudioQueue(static_cast<const int16_t*>(block.data), frames, static_cast<int>(rate_))};
  return true;
}

void WebSoundDevice::Poll() {
  if (count_ == 0 || !AudioReady()) return;
  const double now = AudioTime();
  int kept = 0;
  for (int i = 0; i < count_; ++i) {
    if (pending_[i].end <= now) {
      done_(pending_[i].block);
    } else {
      pending_[kept++] = pending_[i];
    }
  }
  count_ = kept;
}
