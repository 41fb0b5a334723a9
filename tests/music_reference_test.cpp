// Decoding accuracy against libmpg123 on streams that lame makes from test signals.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "tests/music_support.h"

namespace {

struct StreamCase {
  const char* name;
  int rate;
  int channels;
  const char* options;
};

// Stereo CBR and mid/side VBR at every MPEG-1 and LSF rate, mono, and MPEG 2.5.
const StreamCase kCases[] = {
    {"s32000", 32000, 2, "-m s -b 160"},  {"ms32000", 32000, 2, "-m f -V 2"},
    {"s44100", 44100, 2, "-m s -b 192"},  {"ms44100", 44100, 2, "-m f -V 0"},
    {"s48000", 48000, 2, "-m s -b 256"},  {"ms48000", 48000, 2, "-m f -V 4"},
    {"s16000", 16000, 2, "-m s -b 64"},   {"ms16000", 16000, 2, "-m f -V 3"},
    {"s22050", 22050, 2, "-m s -b 96"},   {"ms22050", 22050, 2, "-m f -V 5"},
    {"s24000", 24000, 2, "-m s -b 48"},   {"j24000", 24000, 2, "-m j -V 2"},
    {"mono44100", 44100, 1, "-m m -b 96"}, {"ms11025", 11025, 2, "-m f -V 4"},
    {"s8000", 8000, 2, "-m s -b 24"},
};

class MusicReference : public ::testing::TestWithParam<StreamCase> {};

TEST_P(MusicReference, DecodesWithinOneLsbOfTheReference) {
  const StreamCase& c = GetParam();
  const std::string wav = TempPath(std::string(c.name) + ".wav");
  const std::string mp3 = TempPath(std::string(c.name) + ".mp3");
  const std::string out = TempPath(std::string(c.name) + ".out.wav");
  WriteTestSignal(wav, c.rate, c.channels, 1.5);
  // Kept at the signal's rate: lame would resample low bitrates otherwise.
  char resample[32];
  std::snprintf(resample, sizeof resample, " --resample %g", c.rate / 1000.0);
  ASSERT_TRUE(Encode(wav, mp3, c.options + std::string(resample)));

  const std::string command = std::string(QZ2_TOOL) + " mp3 '" + mp3 + "' '" + out + "' > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  int32_t rate = 0;
  const std::vector<int16_t> ours = ReadWav(out, &rate);
  long referenceRate = 0;
  const std::vector<int16_t> reference = ReferenceDecode(mp3, &referenceRate);
  EXPECT_EQ(rate, c.rate);
  EXPECT_EQ(referenceRate, c.rate);
  ASSERT_EQ(ours.size(), reference.size());
  ASSERT_GT(ours.size(), size_t(c.rate));

  for (int ch = 0; ch < 2; ++ch) {
    double squares = 0.0;
    int largest = 0;
    size_t counted = 0;
    for (size_t i = size_t(ch); i < ours.size(); i += 2) {
      const auto clipped = [](int16_t s) { return s == 32767 || s == -32768; };
      if (clipped(ours[i]) || clipped(reference[i])) continue;
      const int d = ours[i] - reference[i];
      squares += double(d) * d;
      largest = std::max(largest, std::abs(d));
      ++counted;
    }
    const double rms = std::sqrt(squares / double(counted));
    EXPECT_LE(rms, 1.0) << c.name << " channel " << ch;
    EXPECT_LE(largest, 4) << c.name << " channel " << ch;
    RecordProperty(std::string("rms") + char('0' + ch), std::to_string(rms));
    std::printf("%s channel %d: rms %.3f, largest %d LSB over %zu samples\n", c.name, ch, rms, largest, counted);
  }
  if (c.channels == 1) {
    for (size_t i = 0; i < ours.size(); i += 2) ASSERT_EQ(ours[i], ours[i + 1]);
  }
}

INSTANTIATE_TEST_SUITE_P(Streams, MusicReference, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<StreamCase>& info) { return std::string(info.param.name); });

}  // namespace
