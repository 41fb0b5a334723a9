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

// The ways the filterbanks can run. All give the standard's results within 32-bit float precision; the
// plain and SSE2 paths give the same samples.
enum class SynthPath : int32_t {
  Plain,  // one float at a time, on any processor
  Sse2,   // four lanes (x86-64)
  Avx2,   // eight lanes with fused multiply-adds, where the processor has AVX2 and FMA (not in the Windows build)
};
bool SynthPathSupported(SynthPath path);
// The fastest path this processor runs, chosen once.
SynthPath FastestSynthPath();

constexpr int kRingSlots = 16;

// One stream's filter state, zero at the start of a track (ring position 1).
struct SynthState {
  // Overlap store: two blocks per channel used alternately, in the layout of the output slots.
  alignas(64) float overlap[kMaxChannels][2][kSubbands * kGranuleSlots] = {};
  int32_t overlapSelect[kMaxChannels] = {};
  // The subbands of each overlap block that may hold non-zero values: the rest is zero.
  int32_t overlapBands[kMaxChannels][2] = {};
  // Two rings per channel of 16 entries of 32 matrixed values each. A slot's transform enters both at the
  // ring position: the values it needs at even time lags in one ring, those for odd lags in the other. The
  // ring a slot reads then holds at each position the entry of that position's lag, which pairs with one
  // row of window weights.
  alignas(64) float ring[kMaxChannels][2][kRingSlots * kSubbands] = {};
  int32_t ringPosition = 1;
  // Slots in a row (up to 16) whose subband samples were all zero: at 16 the rings hold only zeros.
  int32_t silentSlots[kMaxChannels] = {kRingSlots, kRingSlots};
  SynthPath path = FastestSynthPath();
};

// One channel's granule: 576 anti-aliased values in, 18 time slots of 32 subband samples out (the
// sample of subband sb in slot ss at ss * 32 + sb).
void HybridSynthesis(SynthState& state, const float* spectrum, float* slots, int channel, const GranuleInfo& g);
// One time slot of one channel: its 32 samples into the channel's side of the slot's 32 stereo pairs in
// frames (left first). Channel 0 comes first for every slot. Returns the number of samples clipped.
int PolyphaseSynth(SynthState& state, const float* subbands, int channel, int16_t* frames);
// Starts one channel's filters from another's state (a stereo frame after mono frames).
void CopySynthState(SynthState& state, int from, int to);
