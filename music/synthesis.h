// Synthesis: the hybrid filterbank (IMDCT, windowing, overlap, frequency inversion) and the 32-band
// polyphase filterbank that turns each time slot into 16-bit samples.
//
// The filters' state belongs to the stream (SynthState, in its decoder); the windows and cosine tables
// are built once per process and shared.
#pragma once

#include <cstdint>

#include "music/bitstream.h"

// Full-scale decoded samples map to the 16-bit range.
constexpr float kSynthScale = 32768.0f;

// A synthesis sum as a 16-bit sample: truncated toward zero, values past the range clipped and counted
// (a NaN too).
inline int16_t ClipSample(float sum, int& clipped) {
  clipped += int(!(sum < 32768.0f)) | int(sum <= -32769.0f);
  float c = sum > -32768.0f ? sum : -32768.0f;
  c = c < 32767.0f ? c : 32767.0f;
  return int16_t(int(c));
}

constexpr int kRingRow = 17;
constexpr int kRingSize = 16 * kRingRow;

// One stream's filter state, zero at the start of a track (ring position 1).
struct SynthState {
  // Overlap store: two blocks per channel used alternately, in the layout of the output slots.
  alignas(64) float overlap[kMaxChannels][2][kSubbands * kGranuleSlots] = {};
  int32_t overlapSelect[kMaxChannels] = {};
  // Two rings of 16 sets of 17 matrixed values per channel, and the ring position both channels share.
  alignas(64) float ring[kMaxChannels][2][kRingSize] = {};
  int32_t ringPosition = 1;
};

// One channel's granule: 576 anti-aliased values in, 18 time slots of 32 subband samples out (the
// sample of subband sb in slot ss at ss * 32 + sb). The spectrum is used as scratch.
void HybridSynthesis(SynthState& state, float* spectrum, float* slots, int channel, const GranuleInfo& g);
// One time slot of one channel: 32 samples written at every second 16-bit position of out. Channel 0
// comes first for every slot. Returns the number of samples clipped.
int PolyphaseSynth(SynthState& state, const float* subbands, int channel, int16_t* out);
// Starts one channel's filters from another's state (a stereo frame after mono frames).
void CopySynthState(SynthState& state, int from, int to);
