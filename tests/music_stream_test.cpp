// Frame headers, finding the first frame, the bit reservoir and the end of a track.
#include <algorithm>

#include <gtest/gtest.h>

#include "music/bitstream.h"
#include "tests/music_support.h"

namespace {

constexpr size_t kFrameSamples = 2 * 1152;

uint32_t HeaderWord(int bitrateIndex, int frequencyBits, int padding) {
  return 0xFFFB0000u | uint32_t(bitrateIndex) << 12 | uint32_t(frequencyBits) << 10 | uint32_t(padding) << 9;
}

std::vector<uint8_t> ZeroFrame(int bitrateIndex = 14) {
  FrameSpec frame;
  frame.bitrateIndex = bitrateIndex;
  return BuildFrame(frame);
}

// A silent frame first, so that the filters start from rest whatever played before.
std::vector<uint8_t> ClickStream() {
  std::vector<uint8_t> stream = ZeroFrame();
  for (int i = 0; i < 3; ++i) Append(stream, BuildFrame(ClickFrame()));
  return stream;
}

std::vector<uint8_t> Bytes(const char* text, size_t size) { return std::vector<uint8_t>(text, text + size); }

TEST(MusicHeader, BodySizesFollowBitrateFrequencyAndPadding) {
  FrameHeader header{};
  Mp3Stream at48000;
  ASSERT_EQ(DecodeHeader(at48000, header, HeaderWord(14, 1, 0)), 1);
  EXPECT_EQ(header.bodySize, 956);
  EXPECT_EQ(header.sideInfoSize, 32);
  Mp3Stream at44100;
  ASSERT_EQ(DecodeHeader(at44100, header, HeaderWord(9, 0, 0)), 1);
  EXPECT_EQ(header.bodySize, 413);
  ASSERT_EQ(DecodeHeader(at44100, header, HeaderWord(9, 0, 1)), 1);
  EXPECT_EQ(header.bodySize, 414);
}

TEST(MusicHeader, CheckRejectsWhatCannotBeAHeader) {
  EXPECT_TRUE(HeaderCheck(HeaderWord(9, 0, 0)));
  EXPECT_FALSE(HeaderCheck(HeaderWord(9, 0, 0) & ~(1u << 21)));  // sync
  EXPECT_FALSE(HeaderCheck(HeaderWord(9, 0, 0) & ~(3u << 17)));  // layer 00
  EXPECT_FALSE(HeaderCheck(HeaderWord(15, 0, 0)));
  EXPECT_FALSE(HeaderCheck(HeaderWord(9, 3, 0)));
}

TEST(MusicHeader, Mpeg25AndMonoAreReadFromTheHeader) {
  FrameHeader header{};
  Mp3Stream stream;
  // MPEG 2.5 (version bits 00), 8000 Hz, 8 kbit/s, mono.
  ASSERT_EQ(DecodeHeader(stream, header, 0xFFE31000u | 2u << 10 | 3u << 6), 1);
  EXPECT_EQ(kSamplingFrequencies[header.samplingIndex], 8000);
  EXPECT_EQ(header.channels, 1);
  EXPECT_EQ(header.sideInfoSize, 9);
  EXPECT_EQ(header.bodySize, 8 * 144000 / 16000 - 4);
}

TEST(MusicStream, WrappersAndTagsBeforeTheFirstFrameAreSkipped) {
  const std::vector<uint8_t> plain = ClickStream();
  const std::vector<int16_t> expected = Settled(plain);
  ASSERT_EQ(expected.size(), 3 * kFrameSamples);
  ASSERT_NE(std::count(expected.begin(), expected.end(), 0), long(expected.size()));

  std::vector<uint8_t> riff = Bytes("RIFF\0\0\0\0WAVEfmt \x10\0\0\0", 20);
  riff.resize(36, 1);
  Append(riff, Bytes("data\0\0\0\0", 8));
  Append(riff, plain);
  EXPECT_EQ(Settled(riff), expected);

  std::vector<uint8_t> id3v1 = Bytes("TAG", 3);
  id3v1.resize(128, ' ');
  Append(id3v1, plain);
  EXPECT_EQ(Settled(id3v1), expected);

  // A version 2 tag larger than the junk scan, full of words that look like headers.
  constexpr uint32_t kTagSize = 70000;
  std::vector<uint8_t> id3v2 = Bytes("ID3\3\0\0", 6);
  for (int shift = 21; shift >= 0; shift -= 7) id3v2.push_back(uint8_t(kTagSize >> shift & 0x7F));
  for (uint32_t i = 0; i < kTagSize; ++i) id3v2.push_back(i % 4 == 0 ? 0xFF : i % 4 == 1 ? 0xFB : 0x90);
  Append(id3v2, plain);
  EXPECT_EQ(Settled(id3v2), expected);

  std::vector<uint8_t> junk(1000, 0x55);
  Append(junk, plain);
  EXPECT_EQ(Settled(junk), expected);
}

TEST(MusicStream, NoFrameWithinTheScanMeansASilentTrack) {
  std::vector<uint8_t> junk(70000, 0);
  Append(junk, ClickStream());
  int32_t frames = -1;
  EXPECT_TRUE(DecodeBytes(junk, &frames).empty());
  EXPECT_EQ(frames, 0);
}

TEST(MusicStream, TrailingTagsJunkAndTruncatedFramesEndTheTrack) {
  const std::vector<uint8_t> plain = ClickStream();
  const std::vector<int16_t> expected = Settled(plain);
  std::vector<uint8_t> tagged = plain;
  std::vector<uint8_t> tag = Bytes("TAG", 3);
  tag.resize(128, 0x7F);
  Append(tagged, tag);
  EXPECT_EQ(Settled(tagged), expected);

  std::vector<uint8_t> layer2 = plain;
  Append(layer2, {0xFF, 0xFD, 0x90, 0x00});  // a Layer II header
  layer2.resize(layer2.size() + 413, 0x33);
  EXPECT_EQ(Settled(layer2), expected);

  std::vector<uint8_t> truncated = plain;
  const std::vector<uint8_t> last = BuildFrame(ClickFrame());
  truncated.insert(truncated.end(), last.begin(), last.begin() + 500);
  int32_t frames = 0;
  EXPECT_EQ(Settled(truncated, &frames), expected);
  EXPECT_EQ(frames, 4);
}

TEST(MusicStream, CheckWordsFromSomeFrameOnAreSkippedFrameByFrame) {
  const std::vector<int16_t> expected = Settled(ClickStream());
  std::vector<uint8_t> stream = ZeroFrame();
  for (int i = 0; i < 3; ++i) {
    FrameSpec frame = ClickFrame();
    frame.protection = i >= 1;
    Append(stream, BuildFrame(frame));
  }
  EXPECT_EQ(Settled(stream), expected);
}

TEST(MusicReservoir, MainDataReachesBackIntoThePreviousFrame) {
  // The second frame's main data lies wholly at the end of the first frame's body.
  std::vector<uint8_t> split = ZeroFrame();
  FrameSpec click = ClickFrame();
  std::vector<uint8_t> first = BuildFrame(FrameSpec{});
  std::copy(click.mainData.begin(), click.mainData.end(), first.end() - long(click.mainData.size()));
  Append(split, first);
  click.mainDataBegin = int(click.mainData.size());
  click.mainData.clear();
  Append(split, BuildFrame(click));

  std::vector<uint8_t> plain = ZeroFrame();
  Append(plain, ZeroFrame());
  Append(plain, BuildFrame(ClickFrame()));
  EXPECT_EQ(Settled(split), Settled(plain));
}

TEST(MusicReservoir, ReachingPastTheReservoirSilencesOnlyThatFrame) {
  // After a 128 kbit/s frame the reservoir holds 381 bytes; main_data_begin 511 asks for more.
  std::vector<uint8_t> stream = ZeroFrame();
  Append(stream, ZeroFrame(9));
  FrameSpec greedy = ClickFrame();
  greedy.mainDataBegin = 511;
  Append(stream, BuildFrame(greedy));
  Append(stream, BuildFrame(ClickFrame()));
  const std::vector<int16_t> pcm = Settled(stream);

  std::vector<uint8_t> reference = ZeroFrame();
  Append(reference, ZeroFrame(9));
  Append(reference, ZeroFrame());
  Append(reference, BuildFrame(ClickFrame()));
  EXPECT_EQ(pcm, Settled(reference));
}

}  // namespace
