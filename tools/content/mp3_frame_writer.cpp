// MPEG-1 Layer III frames written field by field from chosen side information and main data.
#include "tools/content/mp3_frame_writer.h"

#include <cstddef>

void BitWriter::Put(uint32_t value, int bits) {
  for (int i = bits - 1; i >= 0; --i) {
    if (bits_ % 8 == 0) bytes_.push_back(0);
    if (value >> i & 1) bytes_.back() |= uint8_t(0x80 >> (bits_ % 8));
    ++bits_;
  }
}

std::vector<uint8_t> BuildFrame(const FrameSpec& frame) {
  const int channels = frame.mode == 3 ? 1 : 2;
  BitWriter w;
  // MPEG-1 Layer III at 44100 Hz without padding.
  w.Put(0xFFFA0000u | uint32_t(!frame.protection) << 16 | uint32_t(frame.bitrateIndex) << 12 |
            uint32_t(frame.mode) << 6 | uint32_t(frame.modeExtension) << 4,
        32);
  if (frame.protection) w.Put(0xBEEF, 16);
  w.Put(uint32_t(frame.mainDataBegin), 9);
  w.Put(0, channels == 1 ? 5 : 3);
  for (int ch = 0; ch < channels; ++ch) w.Put(0, 4);
  for (const auto& granule : frame.granules) {
    for (int ch = 0; ch < channels; ++ch) {
      const GranuleSpec& g = granule[ch];
      w.Put(uint32_t(g.part23Length), 12);
      w.Put(uint32_t(g.bigValues), 9);
      w.Put(uint32_t(g.globalGain), 8);
      w.Put(uint32_t(g.scalefacCompress), 4);
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
      w.Put(uint32_t(g.preflag), 1);
      w.Put(uint32_t(g.scalefacScale), 1);
      w.Put(uint32_t(g.count1Table), 1);
    }
  }
  std::vector<uint8_t> bytes = w.bytes();
  bytes.insert(bytes.end(), frame.mainData.begin(), frame.mainData.end());
  const size_t size = size_t(144000 * (frame.bitrateIndex == 14 ? 320 : 128) / 44100);
  if (bytes.size() > size) return {};
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
