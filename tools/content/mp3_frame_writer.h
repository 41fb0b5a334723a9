// Layer III frames written field by field from chosen side information and main data, for streams
// that exercise what an encoder rarely writes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

// Bits most significant first.
class BitWriter {
 public:
  void Put(uint32_t value, int bits);
  void Append(const BitWriter& other);
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
  int preflag = 0;  // not written in LSF frames
  int scalefacScale = 0;
  int count1Table = 0;
};

// The header's version bits.
constexpr int kMpeg1 = 3;
constexpr int kMpeg2 = 2;
constexpr int kMpeg25 = 0;

// A Layer III frame, MPEG-1 at 44100 Hz and 320 kbit/s (1040 body bytes) unless told otherwise.
struct FrameSpec {
  int version = kMpeg1;
  int frequency = 0;  // the header's frequency bits: 44100, 48000, 32000 Hz in MPEG-1, halved in MPEG-2
  int bitrateIndex = 14;
  int padding = 0;
  int mode = 0;
  int modeExtension = 0;
  bool protection = false;  // with its check word
  int mainDataBegin = 0;
  int scfsi[2] = {0, 0};  // MPEG-1
  GranuleSpec granules[2][2];  // one granule in MPEG-2 and 2.5
  std::vector<uint8_t> mainData;  // from the end of the side information on
};

// The header word, and the frame's body and side-information sizes in bytes (the side information
// with the check word).
uint32_t FrameHeaderWord(const FrameSpec& frame);
int FrameBodySize(const FrameSpec& frame);
int FrameSideInfoSize(const FrameSpec& frame);
// The frame's bytes; empty when its side information and main data do not fit its size.
std::vector<uint8_t> BuildFrame(const FrameSpec& frame);
// A frame whose first granule holds one pair of table 1 in each channel: a short, audible click.
FrameSpec ClickFrame();
// A silent frame, then the frames.
std::vector<uint8_t> Stream(std::initializer_list<FrameSpec> frames);
void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes);
