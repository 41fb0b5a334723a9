// Streams with what encoders rarely write, coded field by field, decoded as the reference decoder decodes them.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "tests/music_support.h"
#include "tools/content/layer3_writer.h"

namespace {

uint32_t Random(uint32_t& state) {
  state = state * 1103515245u + 12345u;
  return state >> 16 & 0x7FFF;
}

// Values of up to peak in magnitude over the first lines lines, fading towards their end, as music does.
void Fill(GranuleContent& g, int lines, int peak, uint32_t seed) {
  for (int i = 0; i < lines; ++i) {
    const int largest = peak * (lines - i) * (lines - i) / (lines * lines);
    g.values[i] = int(Random(seed) % uint32_t(2 * largest + 1)) - largest;
  }
}

// Scale factors below 2 to the power bits.
void Scalefacs(GranuleContent& g, int count, int bits, uint32_t seed) {
  for (int i = 0; i < count; ++i) g.scalefac[i] = int(Random(seed) % (1u << bits));
}

FrameSpec Header(int version, int frequency, int bitrateIndex, int mode = 0, int modeExtension = 0) {
  FrameSpec frame;
  frame.version = version;
  frame.frequency = frequency;
  frame.bitrateIndex = bitrateIndex;
  frame.mode = mode;
  frame.modeExtension = modeExtension;
  frame.mainDataBegin = kFarthestBegin;
  return frame;
}

using Recipe = std::vector<FrameContent>;

// frames frames of the header whose granules hold fading noise; shape then makes each granule what the
// case is about (frame, granule, channel, content).
Recipe Noise(const FrameSpec& header, int frames, int lines, int peak,
             const std::function<void(int, int, int, GranuleContent&)>& shape) {
  Recipe recipe;
  uint32_t seed = 1;
  for (int f = 0; f < frames; ++f) {
    FrameContent frame;
    frame.frame = header;
    for (int gr = 0; gr < 2; ++gr) {
      for (int ch = 0; ch < 2; ++ch) {
        GranuleContent& g = frame.granules[gr][ch];
        g.side.globalGain = 170;
        Fill(g, lines, peak, seed++);
        shape(f, gr, ch, g);
      }
    }
    recipe.push_back(frame);
  }
  return recipe;
}

struct CraftedCase {
  const char* name;
  std::function<Recipe()> recipe;
};

const CraftedCase kCases[] = {
    {"LongBlocks",
     [] {
       return Noise(Header(kMpeg1, 0, 14), 8, 300, 24, [](int f, int gr, int ch, GranuleContent& g) {
         g.side.preflag = (f + gr) & 1;
         g.side.scalefacScale = f >> 1 & 1;
         g.side.region0Count = (f * 3 + ch) % 16;
         g.side.region1Count = (f + gr) % 8;
         Scalefacs(g, 21, 3, uint32_t(f * 4 + gr * 2 + ch));
       });
     }},
};

class MusicCrafted : public ::testing::TestWithParam<CraftedCase> {};

TEST_P(MusicCrafted, DecodesAsTheReference) {
  const CraftedCase& c = GetParam();
  const std::vector<uint8_t> stream = EncodeStream(c.recipe());
  ASSERT_FALSE(stream.empty());
  const std::string path = TempPath("stream.mp3");
  WriteFile(path, stream);
  const std::vector<int16_t> ours = DecodeBytes(stream);
  long rate = 0;
  const std::vector<int16_t> reference = ReferenceDecode(path, &rate);
  ASSERT_EQ(ours.size(), reference.size());
  for (int ch = 0; ch < 2; ++ch) {
    const Deviation d = Compare(ours, reference, ch);
    int peak = 0;
    for (size_t i = size_t(ch); i < ours.size(); i += 2) peak = std::max(peak, std::abs(int(ours[i])));
    std::printf("%s channel %d: rms %.3f, largest %d LSB at frame %zu, peak %d\n", c.name, ch, d.rms, d.largest,
                d.worst / kFrameSamples, peak);
    EXPECT_LE(d.rms, 1.0) << c.name << " channel " << ch;
    EXPECT_LE(d.largest, 4) << c.name << " channel " << ch;
  }
}

INSTANTIATE_TEST_SUITE_P(Streams, MusicCrafted, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CraftedCase>& info) { return std::string(info.param.name); });

}  // namespace
