// Layer III frames encoded from their content: scale factors and quantised values become side information
// and Huffman-coded main data, which the bit reservoir carries across frames.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/content/mp3_frame_writer.h"

// One granule of one channel.
struct GranuleContent {
  // Written as chosen, but for what the encoder fills in: part23Length, bigValues, scalefacCompress,
  // windowSwitching (from the block type), and each tableSelect left 0: the first table that holds the
  // region's values.
  GranuleSpec side;
  // In reading order: long bands 0 to 20; short bands 0 to 11, three windows each; mixed blocks their long
  // bands (8 in MPEG-1, 6 in LSF), then short bands 3 to 11. MPEG-1 granule 1 writes only the groups its
  // scfsi does not take from granule 0.
  int scalefac[39] = {};
  // Scale-factor lengths: MPEG-1 the first two, LSF one per partition; -1 takes the fewest bits that hold
  // the values.
  int slen[4] = {-1, -1, -1, -1};
  // LSF: the partition-table row, 0 to 2, or 3 to 5 for channel 1 of an intensity-coded frame; its
  // intensity scale (scalefac_compress bit 0). Row 2 sets the preflag.
  int lsfRow = 0;
  int intensityScale = 0;
  // Quantised values in coding order: short bands window by window.
  int values[576] = {};
};

struct FrameContent {
  FrameSpec frame;  // header, scfsi and main_data_begin; the encoder fills in the granules and main data
  GranuleContent granules[2][2];
};

// One pair coded with a pair table, its linbits and signs included; one quadruple of magnitudes 0 or 1 coded
// with table A (0) or B (1), its signs included.
void PutPair(BitWriter& w, int table, int x, int y);
void PutQuad(BitWriter& w, int table, const int* values);

// main_data_begin as far back as the frames before leave room.
constexpr int kFarthestBegin = -1;

// The frames' bytes; empty when a frame's content cannot be coded as chosen or its main data does not fit.
std::vector<uint8_t> EncodeStream(const std::vector<FrameContent>& frames);
