// Streams with what encoders rarely write, coded field by field, decoded as the reference decoder decodes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "music/bitstream.h"
#include "music/layer3.h"
#include "tests/music_reference.h"
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

// The block types of a run of granules: long, start, eight short, stop.
int BlockType(int granule) {
  constexpr int kTypes[] = {0, 1, 2, 2, 2, 2, 2, 2, 2, 2, 3, 0};
  return kTypes[granule % 12];
}

// Short blocks (mixed ones when asked) between start and stop windows, each window taking every subblock
// gain in turn; scale factors on either scale; long blocks with regions of every size.
void ShortBlocks(int granule, int ch, bool mixed, GranuleContent& g) {
  g.side.blockType = BlockType(granule);
  g.side.mixedBlock = mixed && g.side.blockType == 2;
  for (int w = 0; w < 3; ++w) g.side.subblockGain[w] = (granule + ch + 3 * w) % 8;
  g.side.scalefacScale = granule / 3 % 2;
  g.side.count1Table = (granule + ch) & 1;
  g.side.region0Count = granule % 16;
  g.side.region1Count = (3 * granule + ch) % 8;
}

// LSF scale factors of the row, each partition's below 2 to the power of its length: in the intensity-coded
// rows 3 to 5, position 7 (not intensity-coded) in partitions of 3 to 5 bits, the largest value of a length
// in every partition, and position 0 in partitions of none.
void LsfScalefacs(GranuleContent& g, int row, uint32_t seed) {
  constexpr int kLengths[6][4] = {{2, 3, 1, 2}, {3, 2, 3, 0}, {3, 2, 0, 0}, {4, 5, 3, 0}, {3, 1, 3, 0}, {3, 2, 0, 0}};
  const int kind = g.side.blockType == 2 ? (g.side.mixedBlock ? 2 : 1) : 0;
  g.lsfRow = row;
  int from = 0;
  for (int p = 0; p < 4; ++p) {
    const int length = g.slen[p] = kLengths[row][p];
    for (int i = 0; i < kLsfPartitionSizes[kind][row][p]; ++i) g.scalefac[from++] = int(Random(seed) % (1u << length));
  }
}

// An intensity-coded granule. Channel 0 spans the whole spectrum in small values when asked, so that the top
// band, which takes the position of the band below it, sounds. Channel 1 has values in its first lines only,
// and in short blocks window w keeps its bands below a limit of its own; the scale factors above are the
// intensity positions.
void IntensityGranule(int k, int ch, int sfreq, bool fullBand, GranuleContent& g) {
  if (ch == 0) {
    uint32_t seed = uint32_t(k);
    for (int i = 0; fullBand && i < 576; ++i) g.values[i] = int(Random(seed) % 5) - 2;
    return;
  }
  const int kLines[] = {0, 4, 30, 100, 250, 16, 60, 150, 8};
  std::fill(g.values + kLines[k % 9], g.values + 576, 0);
  if (g.side.blockType != 2) return;
  const int16_t* bounds = kShortBandBounds[sfreq];
  const bool mixed = g.side.mixedBlock;
  for (int b = mixed ? 3 : 0, line = mixed ? 36 : 0; b < 13; ++b) {
    for (int w = 0; w < 3; ++w) {
      const bool kept = b < (k * 5 + w * 4) % 14;
      for (int i = bounds[b]; i < bounds[b + 1]; ++i, ++line) {
        if (!kept) g.values[line] = 0;
      }
    }
  }
}

// LSF intensity stereo over long, short and mixed blocks with both intensity scales and every row.
void LsfIntensity(int f, int ch, int sfreq, GranuleContent& g) {
  ShortBlocks(f, 0, f % 2 == 1, g);
  LsfScalefacs(g, ch ? 3 + f % 3 : f % 3, uint32_t(f * 2 + ch));
  g.intensityScale = f / 3 % 2;
  IntensityGranule(f, ch, sfreq, f % 3 == 0, g);
}

const CraftedCase kCases[] = {
    {"LongBlocks",
     [] {
       return Noise(Header(kMpeg1, 0, 14), 8, 300, 24, [](int f, int gr, int ch, GranuleContent& g) {
         g.side.preflag = (f + gr) & 1;
         g.side.scalefacScale = f >> 1 & 1;
         g.side.count1Table = (f + ch) & 1;
         g.side.region0Count = (f * 3 + ch) % 16;
         g.side.region1Count = (f + gr) % 8;
         if (ch) g.side.tableSelect[0] = 24 + f;
         Scalefacs(g, 21, 3, uint32_t(f * 4 + gr * 2 + ch));
       });
     }},
    {"ShortBlocks",
     [] {
       return Noise(Header(kMpeg1, 0, 14), 6, 300, 20, [](int f, int gr, int ch, GranuleContent& g) {
         ShortBlocks(2 * f + gr, ch, false, g);
         Scalefacs(g, 36, 3, uint32_t(f * 4 + gr * 2 + ch));
       });
     }},
    {"MixedBlocks",
     [] {
       return Noise(Header(kMpeg1, 2, 14), 6, 300, 20, [](int f, int gr, int ch, GranuleContent& g) {
         ShortBlocks(2 * f + gr, ch, true, g);
         Scalefacs(g, 36, 3, uint32_t(f * 4 + gr * 2 + ch));
       });
     }},
    {"LsfShortBlocks",
     [] {
       return Noise(Header(kMpeg2, 0, 14), 12, 200, 20, [](int f, int, int ch, GranuleContent& g) {
         ShortBlocks(f, ch, false, g);
         LsfScalefacs(g, f % 3, uint32_t(f * 2 + ch));
       });
     }},
    {"LsfMixedBlocks",
     [] {
       return Noise(Header(kMpeg2, 1, 14), 12, 200, 20, [](int f, int, int ch, GranuleContent& g) {
         ShortBlocks(f, ch, true, g);
         LsfScalefacs(g, (f + 1) % 3, uint32_t(f * 2 + ch));
       });
     }},
    {"Mpeg25ShortBlocks",
     [] {
       // Tables of different codes on either side of region 1's start, which this rate puts further up.
       return Noise(Header(kMpeg25, 2, 8), 12, 200, 15, [](int f, int, int ch, GranuleContent& g) {
         ShortBlocks(f, ch, false, g);
         LsfScalefacs(g, f % 3, uint32_t(f * 2 + ch));
         g.side.tableSelect[0] = 16;
         g.side.tableSelect[1] = 13;
       });
     }},
    {"WholeSpectrum",
     [] {
       // Every scalefac_compress on long and short blocks; channel 0 with big values up to the last line,
       // channel 1 with quadruples up to it.
       return Noise(Header(kMpeg1, 0, 14), 8, 20, 20, [](int f, int gr, int ch, GranuleContent& g) {
         const int k = (4 * f + 2 * gr + ch) % 16;
         g.side.blockType = f < 4 ? 0 : 2;
         const int firstPart = f < 4 ? 11 : 18;
         uint32_t seed = uint32_t(k + 100 * f);
         for (int i = 0; i < 39; ++i) g.scalefac[i] = int(Random(seed) % (1u << kScalefacLengths[i >= firstPart][k]));
         g.slen[0] = kScalefacLengths[0][k];
         g.slen[1] = kScalefacLengths[1][k];
         for (int i = 20; i < 576; ++i) g.values[i] = ch ? int(Random(seed) % 3) - 1 : int(Random(seed) % 7) - 3;
       });
     }},
    {"BlockTypesApart",
     [] {
       // Each channel its own block types, changing without start or stop windows, in stereo frames and
       // intensity-coded ones.
       Recipe recipe = Noise(Header(kMpeg1, 0, 14), 12, 300, 20, [](int f, int gr, int ch, GranuleContent& g) {
         constexpr int kTypes[2][8] = {{0, 2, 0, 2, 2, 0, 1, 3}, {2, 0, 3, 1, 2, 2, 0, 2}};
         g.side.blockType = kTypes[ch][(2 * f + gr) % 8];
         g.side.mixedBlock = g.side.blockType == 2 && (f + ch) % 3 == 0;
         Scalefacs(g, 36, 3, uint32_t(f * 4 + gr * 2 + ch));
         if (f % 2) IntensityGranule(f + gr, ch, 0, gr, g);
       });
       for (int f = 1; f < 12; f += 2) {
         recipe[size_t(f)].frame.mode = 1;
         recipe[size_t(f)].frame.modeExtension = 1;
       }
       return recipe;
     }},
    {"Scfsi",
     [] {
       Recipe recipe = Noise(Header(kMpeg1, 0, 14), 8, 300, 20, [](int f, int gr, int ch, GranuleContent& g) {
         g.side.preflag = f & 1;
         Scalefacs(g, 21, 3, uint32_t(f * 4 + gr * 2 + ch));
       });
       for (int f = 0; f < 8; ++f) {
         recipe[size_t(f)].frame.protection = f & 1;
         for (int ch = 0; ch < 2; ++ch) recipe[size_t(f)].frame.scfsi[ch] = 2 * f + ch;
       }
       return recipe;
     }},
    {"IntensityLong",
     [] {
       return Noise(Header(kMpeg1, 0, 14, 1, 1), 9, 300, 20, [](int f, int gr, int ch, GranuleContent& g) {
         Scalefacs(g, 21, 3, uint32_t(f * 4 + gr * 2 + ch));
         IntensityGranule(f + gr, ch, 0, (f + gr) % 2, g);
       });
     }},
    {"IntensityShort",
     [] {
       return Noise(Header(kMpeg1, 0, 14, 1, 1), 12, 300, 20, [](int f, int gr, int ch, GranuleContent& g) {
         ShortBlocks(2 * f + gr, 0, f >= 6, g);
         Scalefacs(g, 36, 3, uint32_t(f * 4 + gr * 2 + ch));
         IntensityGranule(f + gr, ch, 0, (f + gr) % 2, g);
       });
     }},
    {"MidSideIntensity",
     [] {
       return Noise(Header(kMpeg1, 1, 14, 1, 3), 12, 300, 20, [](int f, int gr, int ch, GranuleContent& g) {
         ShortBlocks(2 * f + gr, 0, f >= 6, g);
         Scalefacs(g, 36, 3, uint32_t(f * 4 + gr * 2 + ch));
         IntensityGranule(f + gr, ch, 1, (f + gr) % 2, g);
       });
     }},
    {"LsfIntensity",
     [] {
       Recipe recipe = Noise(Header(kMpeg2, 0, 14, 1, 1), 18, 200, 20,
                             [](int f, int, int ch, GranuleContent& g) { LsfIntensity(f, ch, 3, g); });
       for (FrameContent& frame : recipe) frame.frame.protection = true;
       return recipe;
     }},
    {"LsfMidSideIntensity",
     [] {
       return Noise(Header(kMpeg2, 2, 14, 1, 3), 18, 200, 20,
                    [](int f, int, int ch, GranuleContent& g) { LsfIntensity(f, ch, 5, g); });
     }},
    {"MonoStereoSwitches",
     [] {
       // libmpg123 restarts its filters where the number of channels changes and ours carries them on, so
       // a silent frame, which leaves both at rest, comes before each change. Its first two frames must agree
       // for it to take the first as a frame.
       constexpr int kModes[10] = {0, 0, 0, 3, 3, 1, 1, 3, 3, 0};
       constexpr bool kSilent[10] = {false, false, true, false, true, false, true, false, true, false};
       Recipe recipe = Noise(Header(kMpeg1, 0, 14), 10, 300, 20, [&](int f, int gr, int ch, GranuleContent& g) {
         ShortBlocks(2 * f + gr, 0, false, g);
         Scalefacs(g, 36, 3, uint32_t(f * 4 + gr * 2 + ch));
         if (kSilent[f]) std::fill(g.values, g.values + 576, 0);
       });
       for (int f = 0; f < 10; ++f) {
         recipe[size_t(f)].frame.mode = kModes[f];
         recipe[size_t(f)].frame.modeExtension = 2;
       }
       return recipe;
     }},
    {"StereoModeSwitches",
     [] {
       // Stereo, joint stereo with each mode extension and dual channel, from frame to frame.
       Recipe recipe = Noise(Header(kMpeg1, 0, 14), 8, 300, 20, [](int f, int gr, int ch, GranuleContent& g) {
         ShortBlocks(2 * f + gr, 0, false, g);
         Scalefacs(g, 36, 3, uint32_t(f * 4 + gr * 2 + ch));
       });
       constexpr int kModes[8][2] = {{0, 0}, {1, 2}, {1, 0}, {2, 0}, {1, 3}, {1, 1}, {0, 0}, {1, 2}};
       for (int f = 0; f < 8; ++f) {
         recipe[size_t(f)].frame.mode = kModes[f][0];
         recipe[size_t(f)].frame.modeExtension = kModes[f][1];
       }
       return recipe;
     }},
    {"Reservoir",
     [] {
       // 60 bytes of main data per frame: every eighth frame reaches back as far as it can, over the others.
       return Noise(Header(kMpeg1, 1, 1), 24, 120, 6, [](int f, int, int, GranuleContent& g) {
         if (f % 8 != 7) std::fill(g.values + 6, g.values + 576, 0);
       });
     }},
};

class MusicCrafted : public ::testing::TestWithParam<CraftedCase> {};

TEST_P(MusicCrafted, DecodesAsTheReference) {
  const CraftedCase& c = GetParam();
  const std::vector<uint8_t> stream = EncodeStream(c.recipe());
  ASSERT_FALSE(stream.empty());
  const std::vector<int16_t> ours = DecodeBytes(stream);
  ExpectLikeReference(ours, MusicFiles().Write(std::string(c.name) + ".mp3", stream), 1.0, 4);
  for (int ch = 0; ch < 2; ++ch) {
    int peak = 0;
    for (size_t i = size_t(ch); i < ours.size(); i += 2) peak = std::max(peak, std::abs(int(ours[i])));
    EXPECT_GT(peak, 1000) << "a stream that decodes to near silence shows little";
  }
}

INSTANTIATE_TEST_SUITE_P(Streams, MusicCrafted, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CraftedCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
