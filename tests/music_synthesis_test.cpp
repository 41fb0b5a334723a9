// The hybrid and polyphase filterbanks and the conversion to 16-bit samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "music/mp3_decoder.h"
#include "tests/music_support.h"

namespace {

constexpr int kSlotValues = kGranuleSlots * kSubbands;

TEST(MusicSynthesis, SamplesAreTruncatedTowardZeroAndClippedWithACount) {
  const struct {
    float sum;
    int16_t sample;
    int clipped;
  } kCases[] = {
      {-0.7f, 0, 0},          {0.7f, 0, 0},
      {-1234.9f, -1234, 0},   {32767.9f, 32767, 0},
      {-32768.9f, -32768, 0}, {32768.0f, 32767, 1},
      {-32769.0f, -32768, 1}, {3e9f, 32767, 1},
      {-3e9f, -32768, 1},     {std::numeric_limits<float>::quiet_NaN(), 0, 1},
  };
  for (const auto& c : kCases) {
    int clipped = 0;
    const int16_t sample = ClipSample(c.sum, clipped);
    if (!std::isnan(c.sum)) {
      EXPECT_EQ(sample, c.sample) << c.sum;
    }
    EXPECT_EQ(clipped, c.clipped) << c.sum;
  }
  // Four times full scale in the lowest subband: every path clips as many samples at either rail instead of
  // wrapping, and leaves the other channel's samples alone.
  std::vector<int> counts;
  for (SynthPath path : {SynthPath::Plain, SynthPath::Sse2, SynthPath::Avx2}) {
    if (!SynthPathSupported(path)) continue;
    SynthState state;
    state.path = path;
    int count = 0;
    for (float level : {4.0f, -4.0f}) {
      float subbands[kSubbands] = {level};
      int16_t out[2 * kSubbands] = {};
      int clipped = 0;
      for (int slot = 0; slot < 40; ++slot) clipped += PolyphaseSynth(state, subbands, 0, out);
      EXPECT_GT(clipped, 0);
      count += clipped;
      for (int i = 0; i < kSubbands; ++i) {
        EXPECT_EQ(out[2 * i], level > 0 ? 32767 : -32768) << i;
        EXPECT_EQ(out[2 * i + 1], 0) << i;
      }
    }
    counts.push_back(count);
  }
  for (int count : counts) EXPECT_EQ(count, counts[0]);
}

// The transform of the standard: x[i] = sum of X[k] cos(pi / 2n (2i + 1 + n / 2)(2k + 1)).
double Imdct(const float* values, int stride, int n, int i) {
  const double pi = std::acos(-1.0);
  double sum = 0.0;
  for (int k = 0; k < n / 2; ++k) {
    sum += values[stride * k] * std::cos(pi / (2 * n) * (2 * i + 1 + n / 2) * (2 * k + 1));
  }
  return sum;
}

// One granule of long or short blocks, then a silent long one that plays out the overlap: 36 windowed
// samples per subband, the short windows overlapped at 6, 12 and 18, the odd samples of odd subbands negated.
TEST(MusicSynthesis, BlocksFollowTheStandardTransform) {
  const double pi = std::acos(-1.0);
  for (int blockType : {0, 2}) {
    float spectrum[kGranuleLines];
    for (int i = 0; i < kGranuleLines; ++i) spectrum[i] = std::cos(1.3f * float(i * i % 97)) / 8.0f;
    float x[kGranuleLines];
    std::copy(spectrum, spectrum + kGranuleLines, x);
    SynthState state;
    GranuleInfo g{};
    g.blockType = blockType;
    g.maxb = kSubbands;
    float slots[2][kSlotValues];
    HybridSynthesis(state, x, slots[0], 0, g);
    std::fill(x, x + kGranuleLines, 0.0f);
    g.blockType = 0;
    HybridSynthesis(state, x, slots[1], 0, g);
    for (int sb = 0; sb < kSubbands; ++sb) {
      for (int i = 0; i < 36; ++i) {
        double expected = 0.0;
        if (blockType == 0) expected = std::sin(pi / 36 * (i + 0.5)) * Imdct(spectrum + 18 * sb, 1, 36, i);
        for (int w = 0; w < 3 && blockType == 2; ++w) {
          const int j = i - 6 - 6 * w;
          if (j >= 0 && j < 12) expected += std::sin(pi / 12 * (j + 0.5)) * Imdct(spectrum + 18 * sb + w, 3, 12, j);
        }
        if (sb % 2 && i % 2) expected = -expected;
        ASSERT_NEAR(slots[i / 18][kSubbands * (i % 18) + sb], expected, 1e-5)
            << "block type " << blockType << " subband " << sb << " sample " << i;
      }
    }
  }
}

}  // namespace
