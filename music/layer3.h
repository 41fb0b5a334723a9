// Layer III decoding: scale factors, Huffman data with requantisation, stereo processing, alias reduction,
// and the hand-over of each granule to the synthesis.
#pragma once

#include <cstdint>

#include "music/bitstream.h"

// 13 short bands x 3 windows at most; 22 long bands.
constexpr int kScaleFactorCount = 39;

struct FrameResult {
  DecodeStatus status;
  int32_t clipped;  // samples clipped to the 16-bit range
};

// Builds every table of the decoder; the limit caps the number of subbands that take the filterbank.
void InitLayer3Tables(int32_t subbandLimit);
// Decodes the current frame into the PCM buffer: silence from a bad granule to the end of the frame.
FrameResult DecodeLayer3(const FrameHeader& header);

// Read from the bit reader; return the bits read.
int ReadScaleFactorsMpeg1(int32_t* scalefac, const GranuleInfo& g);
// Sets the granule's preflag. For the intensity-coded channel also notes each band's illegal position.
int ReadScaleFactorsLsf(int32_t* scalefac, GranuleInfo& g, bool intensityChannel);
// Huffman data and requantisation of one channel; 1 when the granule overran its bits or its frame.
int Dequantize(float* spectrum, const int32_t* scalefac, GranuleInfo& g, int sfreq, int part2Bits);
// Channel 1 of a mid/side granule, each side value applied at once to both spectra.
int DequantizeMidSide(float (*spectra)[kGranuleLines], const int32_t* scalefac, GranuleInfo& g, int sfreq,
                      int part2Bits);
// intensityScale is scalefac_compress bit 0 of channel 1 (LSF only).
void IntensityStereo(float (*spectra)[kGranuleLines], const int32_t* scalefac, const GranuleInfo& g, int sfreq,
                     bool midSide, int lsf, int intensityScale);
void AntiAlias(float* spectrum, const GranuleInfo& g);
