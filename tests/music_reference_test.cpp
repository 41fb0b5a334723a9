// Decoding against libmpg123 and lame streams: every Huffman code, the encoder's streams, every synthesis path.
#include "tests/music_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "music/mp3_decoder.h"
#include "tests/music_support.h"
#include "tools/content/layer3_writer.h"

namespace {

TEST(MusicHuffman, EveryCodeDecodesAsTheReferenceDecodesIt) {
  // Each pair table's x and y range, one table of each family with linbits among them.
  constexpr int kRanges[][2] = {{1, 2},  {2, 3},  {3, 3},  {5, 4},   {6, 4},   {7, 6},   {8, 6},  {9, 6},
                                {10, 8}, {11, 8}, {12, 8}, {13, 16}, {15, 16}, {18, 16}, {27, 16}};
  // Four codes per frame, one per granule and channel.
  std::vector<uint8_t> stream;
  FrameSpec frame;
  BitWriter data;
  int slot = 0;
  int codes = 0;
  auto flush = [&]() {
    frame.mainData = data.bytes();
    Append(stream, BuildFrame(frame));
    frame = FrameSpec{};
    data = BitWriter{};
    slot = 0;
  };
  auto code = [&](const std::function<void(GranuleSpec&)>& put) {
    GranuleSpec& g = frame.granules[slot / 2][slot % 2];
    const int start = data.size();
    put(g);
    g.part23Length = data.size() - start;
    ++codes;
    if (++slot == 4) flush();
  };
  for (const auto& [table, range] : kRanges) {
    // 15 in a table with linbits carries them: 1 for x, 2 for y.
    const auto escaped = [&](int v, int linbits) { return table > 15 && v == 15 ? v + linbits : v; };
    for (int x = 0; x < range; ++x) {
      for (int y = 0; y < range; ++y) {
        code([&](GranuleSpec& g) {
          g.bigValues = 1;
          g.tableSelect[0] = table;
          PutPair(data, table, escaped(x, 1), -escaped(y, 2));
        });
      }
    }
  }
  for (int table = 0; table < 2; ++table) {
    for (int pattern = 0; pattern < 16; ++pattern) {
      code([&](GranuleSpec& g) {
        g.count1Table = table;
        const int values[4] = {pattern >> 3 & 1, -(pattern >> 2 & 1), pattern >> 1 & 1, -(pattern & 1)};
        PutQuad(data, table, values);
      });
    }
  }
  flush();
  EXPECT_EQ(codes, 1410);

  const std::vector<int16_t> ours = DecodeBytes(stream);
  EXPECT_EQ(ours.size(), size_t(codes + 3) / 4 * kFrameSamples);
  // A code read as another pair would show as a difference of hundreds in its frame.
  ExpectLikeReference(ours, MusicFiles().Write("codes.mp3", stream), 1.0, 1);
}

struct StreamCase {
  const char* name;
  int rate;
  int channels;
  const char* options;
};

// Stereo CBR and mid/side VBR at every MPEG-1 and LSF rate, mono, and MPEG 2.5 (mono too).
const StreamCase kStreamCases[] = {
    {"s32000", 32000, 2, "-m s -b 160"},   {"ms32000", 32000, 2, "-m f -V 2"},  {"s44100", 44100, 2, "-m s -b 192"},
    {"ms44100", 44100, 2, "-m f -V 0"},    {"s48000", 48000, 2, "-m s -b 256"}, {"ms48000", 48000, 2, "-m f -V 4"},
    {"s16000", 16000, 2, "-m s -b 64"},    {"ms16000", 16000, 2, "-m f -V 3"},  {"s22050", 22050, 2, "-m s -b 96"},
    {"ms22050", 22050, 2, "-m f -V 5"},    {"s24000", 24000, 2, "-m s -b 48"},  {"j24000", 24000, 2, "-m j -V 2"},
    {"mono44100", 44100, 1, "-m m -b 96"}, {"ms11025", 11025, 2, "-m f -V 4"},  {"s8000", 8000, 2, "-m s -b 24"},
    {"mono8000", 8000, 1, "-m m -b 16"},
};

class MusicReference : public ::testing::TestWithParam<StreamCase> {};

TEST_P(MusicReference, DecodesWithinOneLsbOfTheReference) {
  const StreamCase& c = GetParam();
  const std::string mp3 = EncodeTestSignal(c.name, c.rate, c.channels, c.options);
  ASSERT_FALSE(mp3.empty());
  const std::string out = MusicFiles().Path(std::string(c.name) + ".wav");
  const std::string command = std::string(QZ2_TOOL) + " mp3 '" + mp3 + "' '" + out + "' > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  int32_t rate = 0;
  const std::vector<int16_t> ours = ReadWav(out, &rate);
  EXPECT_EQ(rate, c.rate);
  ASSERT_GT(ours.size(), size_t(c.rate));
  ExpectLikeReference(ours, mp3, 1.0, 4);
}

INSTANTIATE_TEST_SUITE_P(Streams, MusicReference, ::testing::ValuesIn(kStreamCases),
                         [](const ::testing::TestParamInfo<StreamCase>& info) { return std::string(info.param.name); });

// Each path the processor runs decodes a stream of long, short and silent granules as the plain path does:
// the SSE2 path to the sample, the AVX2 path (fused multiply-adds) within 1.
TEST(MusicSynthesis, EveryPathDecodesAsThePlainPath) {
  const std::string mp3 = EncodeTestSignal("paths", 44100, 2, "-m j -V 2");
  ASSERT_FALSE(mp3.empty());
  const struct {
    SynthPath path;
    int tolerance;
  } kPaths[] = {{SynthPath::Plain, 0}, {SynthPath::Sse2, 0}, {SynthPath::Avx2, 1}};
  std::vector<int16_t> plain;
  for (const auto& p : kPaths) {
    if (!SynthPathSupported(p.path)) continue;
    CaptureSink sink;
    auto decoder = std::make_unique<Mp3Decoder>();
    ASSERT_TRUE(TrackOpen(*decoder, mp3.c_str()));
    decoder->synth.path = p.path;
    while (TrackPlayFrame(*decoder, sink) == TrackStatus::Playing) {
    }
    TrackClose(*decoder, sink);
    if (p.path == SynthPath::Plain) {
      plain = sink.pcm();
      ASSERT_FALSE(Silent(plain));
      continue;
    }
    ASSERT_EQ(sink.pcm().size(), plain.size());
    int largest = 0;
    for (size_t i = 0; i < plain.size(); ++i) largest = std::max(largest, std::abs(sink.pcm()[i] - plain[i]));
    EXPECT_LE(largest, p.tolerance) << "path " << int(p.path);
  }
}

}  // namespace
