// Decoding crafted streams: finding the first frame, the bit reservoir, the end of a track, side information
// past its bounds, granules that overrun or cannot be played, and the stereo modes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "music/mp3_decoder.h"
#include "tests/music_support.h"

namespace {

std::vector<uint8_t> Bytes(const char* text, size_t size) { return std::vector<uint8_t>(text, text + size); }

std::vector<uint8_t> Joined(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const std::vector<uint8_t>& part : parts) Append(all, part);
  return all;
}

// Channel 0 of granule 0 holds bigValues pairs of table 1, all (0, 0) but a (1, 1) at the end.
FrameSpec BigValuesFrame(int bigValues, int region0Count = 7, int region1Count = 7) {
  FrameSpec frame;
  GranuleSpec& g = frame.granules[0][0];
  g.bigValues = bigValues;
  g.region0Count = region0Count;
  g.region1Count = region1Count;
  g.tableSelect[0] = g.tableSelect[1] = g.tableSelect[2] = 1;
  BitWriter data;
  for (int i = 0; i < 287; ++i) data.Put(1, 1);
  data.Put(0b000, 3);
  data.Put(0b00, 2);
  g.part23Length = data.size();
  frame.mainData = data.bytes();
  return frame;
}

struct AlikeCase {
  const char* name;
  std::vector<uint8_t> stream;
  std::vector<uint8_t> plain;  // what the stream must decode as
};

TEST(MusicStream, StreamsDecodeAsTheirPlainForm) {
  const std::vector<uint8_t> clicks = Stream({ClickFrame(), ClickFrame(), ClickFrame()});
  const std::vector<uint8_t> riff = Bytes(
      "RIFF\0\0\0\0WAVEfmt \x10\0\0\0"
      "0123456789abcdef"
      "data\0\0\0\0",
      44);
  std::vector<uint8_t> id3v1 = Bytes("TAG", 3);
  id3v1.resize(128, ' ');
  // A version 2 tag larger than the junk scan, full of words that look like headers.
  constexpr uint32_t kTagSize = 70000;
  std::vector<uint8_t> id3v2 = Bytes("ID3\3\0\0", 6);
  for (int shift = 21; shift >= 0; shift -= 7) id3v2.push_back(uint8_t(kTagSize >> shift & 0x7F));
  for (uint32_t i = 0; i < kTagSize; ++i) id3v2.push_back(i % 4 == 0 ? 0xFF : i % 4 == 1 ? 0xFB : 0x90);
  // Words one field away from a header: a broken sync, bitrate index 15, frequency bits 11.
  std::vector<uint8_t> junk(1000, 0x55);
  Append(junk, {0xFF, 0xDB, 0x90, 0x00, 0xFF, 0xFB, 0xF0, 0x00, 0xFF, 0xFB, 0x9C, 0x00});
  std::vector<uint8_t> layer2 = {0xFF, 0xFD, 0x90, 0x00};
  layer2.resize(4 + 413, 0x33);
  const std::vector<uint8_t> lastFrame = BuildFrame(ClickFrame());
  const std::vector<uint8_t> truncated(lastFrame.begin(), lastFrame.begin() + 500);
  FrameSpec checked = ClickFrame();
  checked.protection = true;
  // The main data of the click lies wholly at the end of the silent frame before it.
  FrameSpec click = ClickFrame();
  std::vector<uint8_t> carrier = BuildFrame(FrameSpec{});
  std::copy(click.mainData.begin(), click.mainData.end(), carrier.end() - long(click.mainData.size()));
  click.mainDataBegin = int(click.mainData.size());
  click.mainData.clear();
  // The first frame's main data would begin before the stream does.
  FrameSpec early = ClickFrame();
  early.mainDataBegin = 1;

  const AlikeCase cases[] = {
      {"RIFF wrapper", Joined({riff, clicks}), clicks},
      {"ID3v1 tag before", Joined({id3v1, clicks}), clicks},
      {"ID3v2 tag before", Joined({id3v2, clicks}), clicks},
      {"junk before", Joined({junk, clicks}), clicks},
      {"no frame within the scan", Joined({std::vector<uint8_t>(70000, 0), clicks}), {}},
      {"tag after", Joined({clicks, id3v1}), clicks},
      {"Layer II frame after", Joined({clicks, layer2}), clicks},
      {"truncated frame after", Joined({clicks, truncated}), clicks},
      {"check words from the second frame on", Stream({ClickFrame(), checked, checked}), clicks},
      {"main data in the previous frame", Joined({BuildFrame({}), carrier, BuildFrame(click)}),
       Stream({FrameSpec{}, ClickFrame()})},
      {"main data before the stream", Joined({BuildFrame(early), BuildFrame(ClickFrame())}), Stream({ClickFrame()})},
      {"big values above 288", Stream({BigValuesFrame(300)}), Stream({BigValuesFrame(288)})},
      {"regions past the last band", Stream({BigValuesFrame(288, 15, 7)}), Stream({BigValuesFrame(288)})},
  };
  for (const AlikeCase& c : cases) {
    const std::vector<int16_t> expected = DecodeBytes(c.plain);
    EXPECT_TRUE(c.plain.empty() || !Silent(expected)) << c.name;
    EXPECT_EQ(DecodeBytes(c.stream), expected) << c.name;
  }
}

TEST(MusicLayer3, OverrunningGranulesSilenceOnlyTheirFrame) {
  FrameSpec pastFrame = ClickFrame();
  pastFrame.bitrateIndex = 9;
  pastFrame.granules[0][0].part23Length = 4095;  // more bits than the frame holds
  FrameSpec pastBits = ClickFrame();
  pastBits.granules[0][0].bigValues = 40;  // codes need more bits than part2_3_length
  FrameSpec unusedTable = ClickFrame();
  unusedTable.granules[0][1].tableSelect[0] = 4;
  for (const FrameSpec& bad : {pastFrame, pastBits, unusedTable}) {
    const std::vector<int16_t> pcm = DecodeBytes(Stream({ClickFrame(), bad, ClickFrame()}));
    ASSERT_EQ(pcm.size(), 4 * kFrameSamples);
    EXPECT_FALSE(Silent(FrameOf(pcm, 1)));
    EXPECT_TRUE(Silent(FrameOf(pcm, 2)));
    EXPECT_FALSE(Silent(FrameOf(pcm, 3)));
  }
}

TEST(MusicLayer3, WindowSwitchingWithBlockType0CannotBePlayed) {
  FrameSpec frame = ClickFrame();
  frame.granules[1][1].windowSwitching = true;
  frame.granules[1][1].blockType = 0;
  const std::string path = MusicFiles().Write("blocktype0.mp3", Stream({ClickFrame(), frame, ClickFrame()}));
  CaptureSink sink;
  Mp3Decoder decoder;
  const TrackSummary summary = DecodeTrack(decoder, path.c_str(), sink);
  EXPECT_EQ(summary.end, TrackStatus::Unplayable);
  EXPECT_EQ(summary.frames, 2);
  EXPECT_TRUE(sink.ended());
#ifdef QZ2_TOOL
  const std::string command = std::string(QZ2_TOOL) + " mp3 '" + path + "' /dev/null 2> /dev/null";
  EXPECT_NE(std::system(command.c_str()), 0);
#endif
}

TEST(MusicLayer3, MidSideWithoutSideValuesAndMonoPlayEqualChannels) {
  FrameSpec midSide = ClickFrame();
  midSide.mode = 1;
  midSide.modeExtension = 2;
  midSide.granules[0][1] = GranuleSpec{};
  FrameSpec mono = ClickFrame();
  mono.mode = 3;
  for (FrameSpec* frame : {&midSide, &mono}) {
    frame->mainData.resize(1);
    frame->mainData[0] &= 0xF8;  // channel 0's five bits only
  }
  // Silent frames between them, so that each click sounds in its own frame; the last click is stereo.
  const std::vector<int16_t> pcm = DecodeBytes(Stream({mono, FrameSpec{}, midSide, FrameSpec{}, ClickFrame()}));
  ASSERT_EQ(pcm.size(), 6 * kFrameSamples);
  for (size_t frame : {1, 3, 5}) EXPECT_FALSE(Silent(FrameOf(pcm, frame))) << frame;
  for (size_t i = kFrameSamples; i < 5 * kFrameSamples; i += 2) ASSERT_EQ(pcm[i], pcm[i + 1]) << i;
}

TEST(MusicLayer3, IntensityPosition7LeavesTheBandAlone) {
  Mp3Decoder decoder;
  float(&spectra)[2][kGranuleLines] = decoder.spectra;
  for (int i = 0; i < kGranuleLines; ++i) spectra[0][i] = 1.0f + float(i);
  std::fill(decoder.scalefac[1], decoder.scalefac[1] + 22, 7);
  decoder.scalefac[1][3] = 0;  // band 3 (lines 12 to 15) all to channel 1
  IntensityStereo(decoder, GranuleInfo{}, 0, false, 0);
  for (int i = 0; i < kGranuleLines; ++i) {
    const bool band3 = i >= 12 && i < 16;
    EXPECT_FLOAT_EQ(spectra[0][i], band3 ? 0.0f : 1.0f + float(i)) << i;
    EXPECT_FLOAT_EQ(spectra[1][i], band3 ? 1.0f + float(i) : 0.0f) << i;
  }
}

}  // namespace
