// Synthesis: the hybrid filterbank (IMDCT, windowing, overlap, frequency inversion) and the 32-band
// polyphase filterbank that turns each time slot into 16-bit samples.
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

// The IMDCT windows and constants; part of the Layer III tables.
void MakeImdctTables();
// The polyphase window and the matrixing constants for the output scale.
void MakeSynthTables(float scale);

// One channel's granule: 576 anti-aliased values in, 18 time slots of 32 subband samples out (the
// sample of subband sb in slot ss at ss * 32 + sb). The spectrum is used as scratch.
void HybridSynthesis(float* spectrum, float* slots, int channel, const GranuleInfo& g);
// One time slot of one channel: 32 samples written at every second 16-bit position of out. Channel 0
// comes first for every slot. Returns the number of samples clipped.
int PolyphaseSynth(const float* subbands, int channel, int16_t* out);
// Starts one channel's filters from another's state (a stereo frame after mono frames).
void CopySynthState(int from, int to);
