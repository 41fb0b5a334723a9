// Layer III frames written field by field from chosen side information and main data.
#include "tools/content/mp3_frame_writer.h"

#include <cstddef>

#include "music/bitstream.h"

namespace {

// The check word: CRC-16 (polynomial 0x8005, start 0xFFFF) over the header's last two bytes and the side
// information.
uint16_t CheckWord(const std::vector<uint8_t>& frame, size_t sideInfoEnd) {
  uint32_t crc = 0xFFFF;
  for (size_t i = 2; i < sideInfoEnd; ++i) {
    if (i == 4) i = 6;  // the check word itself
    for (int bit = 7; bit >= 0; --bit) {
      const uint32_t in = uint32_t(frame[i] >> bit & 1);
      crc = (crc << 1) ^ ((crc >> 15 ^ in) ? 0x8005u : 0u);
    }
  }
  return uint16_t(crc);
}

// The decoder's own reading of the header gives the sizes; the reference decoder checks them.
FrameHeader DecodedHeader(const FrameSpec& frame) {
  static Mp3Stream stream;
  stream.previousWord = 0;
  FrameHeader header{};
  if (!DecodeHeader(stream, header, FrameHeaderWord(frame))) header.bodySize = 0;
  return header;
}

}  // namespace

void BitWriter::Put(uint32_t value, int bits) {
  for (int i = bits - 1; i >= 0; --i) {
    if (bits_ % 8 == 0) bytes_.push_back(0);
    if (value >> i & 1) bytes_.back() |= uint8_t(0x80 >> (bits_ % 8));
    ++bits_;
  }
}

void BitWriter::Append(const BitWriter& other) {
  for (int i = 0; i < other.size(); ++i) Put(uint32_t(other.bytes_[size_t(i / 8)] >> (7 - i % 8) & 1), 1);
}

uint32_t FrameHeaderWord(const FrameSpec& frame) {
  return 0xFFE20000u | uint32_t(frame.version) << 19 | uint32_t(!frame.protection) << 16 |
         uint32_t(frame.bitrateIndex) << 12 | uint32_t(frame.frequency) << 10 | uint32_t(frame.padding) << 9 |
         uint32_t(frame.mode) << 6 | uint32_t(frame.modeExtension) << 4;
}

int FrameBodySize(const FrameSpec& frame) { return DecodedHeader(frame).bodySize; }

int FrameSideInfoSize(const FrameSpec& frame) { return DecodedHeader(frame).sideInfoSize; }

std::vector<uint8_t> BuildFrame(const FrameSpec& frame) {
  const int channels = frame.mode == 3 ? 1 : 2;
  const bool lsf = frame.version != kMpeg1;
  BitWriter w;
  w.Put(FrameHeaderWord(frame), 32);
  if (frame.protection) w.Put(0, 16);
  w.Put(uint32_t(frame.mainDataBegin), lsf ? 8 : 9);
  w.Put(0, lsf ? (channels == 1 ? 1 : 2) : (channels == 1 ? 5 : 3));  // private bits
  if (!lsf) {
    for (int ch = 0; ch < channels; ++ch) w.Put(uint32_t(frame.scfsi[ch]), 4);
  }
  for (int gr = 0; gr < (lsf ? 1 : 2); ++gr) {
    for (int ch = 0; ch < channels; ++ch) {
      const GranuleSpec& g = frame.granules[gr][ch];
      w.Put(uint32_t(g.part23Length), 12);
      w.Put(uint32_t(g.bigValues), 9);
      w.Put(uint32_t(g.globalGain), 8);
      w.Put(uint32_t(g.scalefacCompress), lsf ? 9 : 4);
      w.Put(g.windowSwitching, 1);
      if (g.windowSwitching) {
        w.Put(uint32_t(g.blockType), 2);
        w.Put(uint32_t(g.mixedBlock), 1);
        w.Put(uint32_t(g.tableSelect[0]), 5);
        w.Put(uint32_t(g.tableSelect[1]), 5);
        for (int gain : g.subblockGain) w.Put(uint32_t(gain), 3);
      } else {
        for (int table : g.tableSelect) w.Put(uint32_t(table), 5);
        w.Put(uint32_t(g.region0Count), 4);
        w.Put(uint32_t(g.region1Count), 3);
      }
      if (!lsf) w.Put(uint32_t(g.preflag), 1);
      w.Put(uint32_t(g.scalefacScale), 1);
      w.Put(uint32_t(g.count1Table), 1);
    }
  }
  std::vector<uint8_t> bytes = w.bytes();
  if (frame.protection) {
    const uint16_t check = CheckWord(bytes, bytes.size());
    bytes[4] = uint8_t(check >> 8);
    bytes[5] = uint8_t(check);
  }
  bytes.insert(bytes.end(), frame.mainData.begin(), frame.mainData.end());
  const size_t size = size_t(4 + FrameBodySize(frame));
  if (size == 4 || bytes.size() > size) return {};
  bytes.resize(size, 0);
  return bytes;
}
FrameSpec ClickFrame() {
  FrameSpec frame;
  BitWriter data;
  for (int ch = 0; ch < 2; ++ch) {
    GranuleSpec& g = frame.granules[0][ch];
    g.bigValues = 1;
    g.tableSelect[0] = 1;
    g.part23Length = 5;
    data.Put(0b000, 3);  // table 1: (1, 1)
    data.Put(0b01, 2);   // x positive, y negative
  }
  frame.mainData = data.bytes();
  return frame;
}

std::vector<uint8_t> Stream(std::initializer_list<FrameSpec> frames) {
  std::vector<uint8_t> stream = BuildFrame(FrameSpec{});
  for (const FrameSpec& frame : frames) Append(stream, BuildFrame(frame));
  return stream;
}

void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes) {
  to.insert(to.end(), bytes.begin(), bytes.end());
}
