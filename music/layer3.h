// Layer III decoding: scale factors, Huffman data with requantisation, stereo processing, alias reduction,
// and the hand-over of each granule to the synthesis.
//
// The functions work on a decoder's state (its bit reader, side information, scale factors and spectra);
// the tables they read are built once per process and shared by every decoder.
#pragma once

#include <cstdint>

#include "music/bitstream.h"

struct Mp3Decoder;

// 13 short bands x 3 windows at most; 22 long bands.
constexpr int kScaleFactorCount = 39;

struct FrameResult {
  DecodeStatus status;
  int32_t clipped;  // samples clipped to the 16-bit range
};

// Decodes the decoder's current frame into its PCM buffer: silence from a bad granule to the end of the frame.
FrameResult DecodeLayer3(Mp3Decoder& decoder);
// Intensity stereo of one granule from channel 0's spectrum into both, by channel 1's scale factors; in
// LSF by the largest legal positions that the scale-factor reader noted beside them.
void IntensityStereo(Mp3Decoder& decoder, const GranuleInfo& g, int sfreq, bool midSide, int lsf);
