// The hybrid and polyphase filterbanks and the conversion to 16-bit samples.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "music/synthesis.h"

namespace {

constexpr int kSlotValues = 18 * 32;

class MusicSynthesis : public ::testing::Test {
 protected:
  static GranuleInfo Granule(int blockType) {
    GranuleInfo g{};
    g.blockType = blockType;
    g.maxb = 32;
    return g;
  }
  // One granule of channel 0 through the hybrid filterbank; null is a spectrum of zeros.
  void Hybrid(const GranuleInfo& g, const float* spectrum) {
    float x[kGranuleLines] = {};
    if (spectrum) std::copy(spectrum, spectrum + kGranuleLines, x);
    HybridSynthesis(state, x, slots, 0, g);
  }
  SynthState state;
  float slots[kSlotValues];
};

TEST_F(MusicSynthesis, SamplesAreTruncatedTowardZeroAndClippedWithACount) {
  int clipped = 0;
  EXPECT_EQ(ClipSample(-0.7f, clipped), 0);
  EXPECT_EQ(ClipSample(0.7f, clipped), 0);
  EXPECT_EQ(ClipSample(-1234.9f, clipped), -1234);
  EXPECT_EQ(ClipSample(32767.9f, clipped), 32767);
  EXPECT_EQ(ClipSample(-32768.9f, clipped), -32768);
  EXPECT_EQ(clipped, 0);
  EXPECT_EQ(ClipSample(32768.0f, clipped), 32767);
  EXPECT_EQ(ClipSample(-32769.0f, clipped), -32768);
  EXPECT_EQ(ClipSample(3e9f, clipped), 32767);
  EXPECT_EQ(ClipSample(-3e9f, clipped), -32768);
  ClipSample(std::numeric_limits<float>::quiet_NaN(), clipped);
  EXPECT_EQ(clipped, 5);
}

TEST_F(MusicSynthesis, FullScaleInputClipsInsteadOfWrapping) {
  float subbands[32] = {};
  subbands[0] = 4.0f;  // four times full scale in the lowest subband
  int16_t out[64];
  int clipped = 0;
  for (int slot = 0; slot < 40; ++slot) clipped += PolyphaseSynth(state, subbands, 0, out);
  EXPECT_GT(clipped, 0);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(out[2 * i], 32767) << i;
  subbands[0] = -4.0f;
  for (int slot = 0; slot < 40; ++slot) PolyphaseSynth(state, subbands, 0, out);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(out[2 * i], -32768) << i;
}

TEST_F(MusicSynthesis, ZeroSpectrumGivesZeroSamples) {
  int16_t out[64];
  for (int granule = 0; granule < 2; ++granule) {
    Hybrid(Granule(0), nullptr);
    for (int slot = 0; slot < 18; ++slot) {
      const int clipped = PolyphaseSynth(state, slots + 32 * slot, 0, out);
      // The first granule flushes what earlier tests left in the ring.
      if (granule == 0) continue;
      EXPECT_EQ(clipped, 0);
      for (int i = 0; i < 32; ++i) ASSERT_EQ(out[2 * i], 0) << slot << " " << i;
    }
  }
}

TEST_F(MusicSynthesis, ShortBlockOverlapReachesTheNextLongGranule) {
  float spectrum[kGranuleLines];
  for (int i = 0; i < kGranuleLines; ++i) spectrum[i] = std::sin(0.37f * float(i));
  Hybrid(Granule(2), spectrum);
  Hybrid(Granule(0), nullptr);
  float energy = 0.0f;
  for (float v : slots) energy += v * v;
  EXPECT_GT(energy, 1.0f);
  Hybrid(Granule(0), nullptr);
  for (float v : slots) ASSERT_EQ(v, 0.0f);
}

// The transform of the standard: x[i] = sum of X[k] cos(pi / 2n (2i + 1 + n / 2)(2k + 1)), windowed,
// with the odd samples of odd subbands negated.
double Imdct(const float* values, int stride, int n, int i) {
  const double pi = std::acos(-1.0);
  double sum = 0.0;
  for (int k = 0; k < n / 2; ++k) sum += values[stride * k] * std::cos(pi / (2 * n) * (2 * i + 1 + n / 2) * (2 * k + 1));
  return sum;
}

TEST_F(MusicSynthesis, LongBlocksFollowTheStandardTransform) {
  const double pi = std::acos(-1.0);
  float spectrum[kGranuleLines];
  for (int i = 0; i < kGranuleLines; ++i) spectrum[i] = std::cos(1.3f * float(i * i % 97)) / 8.0f;
  Hybrid(Granule(0), spectrum);
  float first[kSlotValues];
  std::copy(slots, slots + kSlotValues, first);
  Hybrid(Granule(0), nullptr);
  for (int sb = 0; sb < 32; ++sb) {
    for (int i = 0; i < 36; ++i) {
      const double window = std::sin(pi / 36 * (i + 0.5));
      const double sign = sb % 2 && i % 2 ? -1.0 : 1.0;
      const double expected = sign * window * Imdct(spectrum + 18 * sb, 1, 36, i);
      const float actual = i < 18 ? first[32 * i + sb] : slots[32 * (i - 18) + sb];
      ASSERT_NEAR(actual, expected, 1e-5) << "subband " << sb << " sample " << i;
    }
  }
}

TEST_F(MusicSynthesis, ShortBlocksFollowTheStandardTransform) {
  const double pi = std::acos(-1.0);
  float spectrum[kGranuleLines];
  for (int i = 0; i < kGranuleLines; ++i) spectrum[i] = std::sin(0.7f * float(i * 7 % 31)) / 8.0f;
  Hybrid(Granule(2), spectrum);
  float first[kSlotValues];
  std::copy(slots, slots + kSlotValues, first);
  Hybrid(Granule(0), nullptr);
  for (int sb = 0; sb < 32; ++sb) {
    for (int i = 0; i < 36; ++i) {
      double expected = 0.0;
      for (int w = 0; w < 3; ++w) {
        const int j = i - 6 - 6 * w;
        if (j < 0 || j >= 12) continue;
        expected += std::sin(pi / 12 * (j + 0.5)) * Imdct(spectrum + 18 * sb + w, 3, 12, j);
      }
      if (sb % 2 && i % 2) expected = -expected;
      const float actual = i < 18 ? first[32 * i + sb] : slots[32 * (i - 18) + sb];
      ASSERT_NEAR(actual, expected, 1e-5) << "subband " << sb << " sample " << i;
    }
  }
}

}  // namespace
