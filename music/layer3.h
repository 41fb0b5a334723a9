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

// MPEG-1 scale-factor lengths (first and second part) by scalefac_compress.
inline constexpr int kScalefacLengths[2][16] = {
    {0, 0, 0, 0, 3, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4},
    {0, 1, 2, 3, 0, 1, 2, 3, 1, 2, 3, 1, 2, 3, 2, 3},
};
// Scale factors per LSF partition by block kind (long, short, mixed) and partition-table row (3 to 5 for
// the intensity-coded channel).
inline constexpr int kLsfPartitionSizes[3][6][4] = {
    {{6, 5, 5, 5}, {6, 5, 7, 3}, {11, 10, 0, 0}, {7, 7, 7, 0}, {6, 6, 6, 3}, {8, 8, 5, 0}},
    {{9, 9, 9, 9}, {9, 9, 12, 6}, {18, 18, 0, 0}, {12, 12, 12, 0}, {12, 9, 9, 6}, {15, 12, 9, 0}},
    {{6, 9, 9, 9}, {6, 9, 12, 6}, {15, 18, 0, 0}, {6, 15, 12, 0}, {6, 12, 9, 6}, {6, 18, 9, 0}},
};

struct FrameResult {
  DecodeStatus status;
  int32_t clipped;  // samples clipped to the 16-bit range
};

// Decodes the decoder's current frame into its PCM buffer: silence from a bad granule to the end of the frame.
FrameResult DecodeLayer3(Mp3Decoder& decoder);
// Intensity stereo of one granule from channel 0's spectrum into both, by channel 1's scale factors.
void IntensityStereo(Mp3Decoder& decoder, const GranuleInfo& g, int sfreq, bool midSide, int lsf);
