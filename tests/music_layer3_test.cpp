// Layer III decoding of granules, hostile ones included: bounds, overruns, stereo modes.
#include <algorithm>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "music/mp3_decoder.h"
#include "tests/music_support.h"

namespace {

constexpr size_t kFrameSamples = 2 * 1152;

std::vector<int16_t> FrameOf(const std::vector<int16_t>& pcm, size_t frame) {
  return std::vector<int16_t>(pcm.begin() + long(frame * kFrameSamples), pcm.begin() + long((frame + 1) * kFrameSamples));
}

bool Silent(const std::vector<int16_t>& pcm) {
  return std::all_of(pcm.begin(), pcm.end(), [](int16_t s) { return s == 0; });
}

// Channel 0 of granule 0 holds bigValues pairs of table 1, all (0, 0) but a (1, 1) at the end.
FrameSpec BigValuesFrame(int bigValues) {
  FrameSpec frame;
  GranuleSpec& g = frame.granules[0][0];
  g.bigValues = bigValues;
  g.tableSelect[0] = g.tableSelect[1] = g.tableSelect[2] = 1;
  BitWriter data;
  for (int i = 0; i < 287; ++i) data.Put(1, 1);
  data.Put(0b000, 3);
  data.Put(0b00, 2);
  g.part23Length = data.size();
  frame.mainData = data.bytes();
  return frame;
}

std::vector<uint8_t> Stream(std::initializer_list<FrameSpec> frames) {
  std::vector<uint8_t> stream = BuildFrame(FrameSpec{});
  for (const FrameSpec& frame : frames) Append(stream, BuildFrame(frame));
  return stream;
}

TEST(MusicLayer3, BigValuesAbove288DecodeAs288Pairs) {
  const std::vector<int16_t> capped = Settled(Stream({BigValuesFrame(288)}));
  EXPECT_FALSE(Silent(FrameOf(capped, 0)));
  EXPECT_EQ(Settled(Stream({BigValuesFrame(300)})), capped);
}

TEST(MusicLayer3, OverrunningGranulesSilenceOnlyTheirFrame) {
  FrameSpec pastFrame = ClickFrame();
  pastFrame.bitrateIndex = 9;
  pastFrame.granules[0][0].part23Length = 4095;  // more bits than the frame holds
  FrameSpec pastBits = ClickFrame();
  pastBits.granules[0][0].bigValues = 40;        // codes need more bits than part2_3_length
  FrameSpec unusedTable = ClickFrame();
  unusedTable.granules[0][1].tableSelect[0] = 4;
  for (const FrameSpec& bad : {pastFrame, pastBits, unusedTable}) {
    int32_t frames = 0;
    const std::vector<int16_t> pcm = DecodeBytes(Stream({ClickFrame(), bad, ClickFrame()}), &frames);
    ASSERT_EQ(frames, 4);
    ASSERT_EQ(pcm.size(), 4 * kFrameSamples);
    EXPECT_FALSE(Silent(FrameOf(pcm, 1)));
    EXPECT_TRUE(Silent(FrameOf(pcm, 2)));
    EXPECT_FALSE(Silent(FrameOf(pcm, 3)));
  }
}

TEST(MusicLayer3, RegionsPastTheLastBandEndWithTheSpectrum) {
  FrameSpec frame = BigValuesFrame(288);
  frame.granules[0][0].region0Count = 15;
  frame.granules[0][0].region1Count = 7;
  EXPECT_EQ(Settled(Stream({frame})), Settled(Stream({BigValuesFrame(288)})));
}

TEST(MusicLayer3, WindowSwitchingWithBlockType0CannotBePlayed) {
  FrameSpec frame = ClickFrame();
  frame.granules[1][1].windowSwitching = true;
  frame.granules[1][1].blockType = 0;
  const std::string path = TempPath("blocktype0.mp3");
  WriteFile(path, Stream({ClickFrame(), frame, ClickFrame()}));
  CaptureSink sink;
  Mp3Decoder decoder;
  const TrackSummary summary = DecodeTrack(decoder, path.c_str(), sink);
  EXPECT_EQ(summary.end, TrackStatus::Unplayable);
  EXPECT_EQ(summary.frames, 2);
  EXPECT_TRUE(sink.ended());

  const std::string command = std::string(QZ2_TOOL) + " mp3 '" + path + "' '" + TempPath("blocktype0.wav") + "' 2> /dev/null";
  EXPECT_NE(std::system(command.c_str()), 0);
}

TEST(MusicLayer3, MidSideWithoutSideValuesGivesEqualChannels) {
  FrameSpec frame = ClickFrame();
  frame.mode = 1;
  frame.modeExtension = 2;
  frame.granules[0][1] = GranuleSpec{};
  frame.mainData.resize(1);
  frame.mainData[0] &= 0xF8;  // channel 0's five bits only
  const std::vector<int16_t> pcm = DecodeBytes(Stream({frame, frame}));
  ASSERT_FALSE(Silent(FrameOf(pcm, 1)));
  for (size_t i = kFrameSamples; i < pcm.size(); i += 2) ASSERT_EQ(pcm[i], pcm[i + 1]) << i;
}

TEST(MusicLayer3, MonoFramesPlayOnBothChannelsAndStereoFollows) {
  FrameSpec mono = ClickFrame();
  mono.mode = 3;
  mono.mainData.resize(1);
  mono.mainData[0] &= 0xF8;
  int32_t frames = 0;
  const std::vector<int16_t> pcm = DecodeBytes(Stream({mono, mono, ClickFrame()}), &frames);
  EXPECT_EQ(frames, 4);
  ASSERT_EQ(pcm.size(), 4 * kFrameSamples);
  EXPECT_FALSE(Silent(FrameOf(pcm, 1)));
  for (size_t i = kFrameSamples; i < 3 * kFrameSamples; i += 2) ASSERT_EQ(pcm[i], pcm[i + 1]) << i;
  EXPECT_FALSE(Silent(FrameOf(pcm, 3)));
}

TEST(MusicLayer3, IntensityPosition7LeavesTheBandAlone) {
  Mp3Decoder decoder;
  float(&spectra)[2][kGranuleLines] = decoder.spectra;
  int32_t* scalefac = decoder.scalefac[1];
  GranuleInfo g{};
  for (int i = 0; i < kGranuleLines; ++i) {
    spectra[0][i] = 1.0f + float(i);
    spectra[1][i] = 0.0f;
  }
  std::fill(scalefac, scalefac + 22, 7);
  scalefac[3] = 0;  // band 3 (lines 12 to 15) all to channel 1
  IntensityStereo(decoder, g, 0, false, 0);
  for (int i = 0; i < kGranuleLines; ++i) {
    const bool band3 = i >= 12 && i < 16;
    EXPECT_FLOAT_EQ(spectra[0][i], band3 ? 0.0f : 1.0f + float(i)) << i;
    EXPECT_FLOAT_EQ(spectra[1][i], band3 ? 1.0f + float(i) : 0.0f) << i;
  }
}

}  // namespace
