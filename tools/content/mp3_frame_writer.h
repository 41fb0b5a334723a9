// MPEG-1 Layer III frames written field by field from chosen side information and main data, for streams
// that exercise what an encoder rarely writes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

// Bits most significant first.
class BitWriter {
 public:
  void Put(uint32_t value, int bits);
  int size() const { return bits_; }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  int bits_ = 0;
};

struct GranuleSpec {
  int part23Length = 0;
  int bigValues = 0;
  int globalGain = 170;
  int scalefacCompress = 0;
  bool windowSwitching = false;
  int blockType = 0;
  int mixedBlock = 0;
  int tableSelect[3] = {0, 0, 0};
  int subblockGain[3] = {0, 0, 0};
  int region0Count = 7;
  int region1Count = 7;
  int preflag = 0;
  int scalefacScale = 0;
  int count1Table = 0;
};

// An MPEG-1 Layer III frame at 44100 Hz, 320 kbit/s (1040 body bytes) unless told otherwise.
struct FrameSpec {
  int bitrateIndex = 14;
  int mode = 0;
  int modeExtension = 0;
  bool protection = false;
  int mainDataBegin = 0;
  GranuleSpec granules[2][2];
  std::vector<uint8_t> mainData;  // from the end of the side information on
};

// The frame's bytes; empty when its side information and main data do not fit its size.
std::vector<uint8_t> BuildFrame(const FrameSpec& frame);
// A frame whose first granule holds one pair of table 1 in each channel: a short, audible click.
FrameSpec ClickFrame();
// A silent frame, then the frames.
std::vector<uint8_t> Stream(std::initializer_list<FrameSpec> frames);
void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes);
