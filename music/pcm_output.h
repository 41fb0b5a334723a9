// The PCM buffer that the synthesis fills and the output sink its full blocks are flushed to.
//
// The sink is the sound device when the player plays a track and a file in qz2-tool: both take the same
// blocks of interleaved 16-bit stereo samples, left first.
#pragma once

#include <cstdint>

constexpr uint32_t kPcmBufferBytes = 2 * 16384 + 1024;
constexpr uint32_t kPcmBlockBytes = 16384;
// One time slot: 32 stereo sample frames.
constexpr uint32_t kPcmSlotBytes = 128;

struct PcmBuffer {
  alignas(64) int16_t samples[kPcmBufferBytes / 2];
  uint32_t position;  // write position in bytes
};

class OutputSink {
 public:
  virtual ~OutputSink() = default;
  // The track's first frame fixes the output: 16-bit stereo at rate Hz.
  virtual void Begin(int32_t rate) = 0;
  // One block of samples; false when it was refused (its samples are lost).
  virtual bool Write(const int16_t* samples, uint32_t bytes) = 0;
  // Everything written has been handed over; the track has ended.
  virtual void End() = 0;
};

// Hands the samples collected so far to the sink (null drops them) and empties the buffer.
void FlushOutput(PcmBuffer& pcm, OutputSink* sink);
