// The standard's compliance stream decoded as the standard's own decode of it.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "music/mp3_decoder.h"
#include "tests/music_support.h"

namespace {

// The standard's compliance stream of a 1 kHz sine that clips. Every frame's main data begins more than a
// frame back, so the first two frames cannot be decoded and its reference decode leaves them out.
TEST(MusicReference, ComplianceSineMatchesTheStandardsDecode) {
  const std::string dir = QZ2_COMPLIANCE_DIR;
  std::ifstream in(dir + "/l3-sin1k0db.pcm", std::ios::binary);
  ASSERT_TRUE(in) << "no compliance stream in " << dir;
  std::vector<int16_t> reference;
  for (char b[2]; in.read(b, 2);) reference.push_back(int16_t(uint8_t(b[0]) | uint8_t(b[1]) << 8));
  CaptureSink sink;
  Mp3Decoder decoder;
  DecodeTrack(decoder, (dir + "/l3-sin1k0db.bit").c_str(), sink);
  std::vector<int16_t> ours = sink.pcm();
  ASSERT_EQ(ours.size(), reference.size() + 2 * kFrameSamples);
  ours.erase(ours.begin(), ours.begin() + 2 * kFrameSamples);
  for (int ch = 0; ch < 2; ++ch) EXPECT_LE(Compare(ours, reference, ch).rms, 1.0) << "channel " << ch;
}

}  // namespace
