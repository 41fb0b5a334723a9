// Test support against the reference decoder (Linux): lame streams from test signals, libmpg123 decoding (in
// WebAssembly: the decodes a native run saved).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/music_support.h"

// A second and a half of a test signal with tones, a chirp and sharp clicks (which make the encoder switch to short
// blocks), encoded by lame -t at its rate with the options (-m m for one channel) into the suite's file NAME.mp3;
// its path, or "" when lame fails.
std::string EncodeTestSignal(const std::string& name, int rate, int channels, const std::string& options);
// libmpg123 without gapless decoding, 16-bit stereo at the stream's rate. Each decode is also saved in the
// build's reference folder under the stream's CRC-32, where the browser build's run of the same tests finds it.
std::vector<int16_t> ReferenceDecode(const std::string& mp3Path, long* rate);
// The samples of a 16-bit WAV file written by qz2-tool mp3; its rate in *rate.
std::vector<int16_t> ReadWav(const std::string& path, int32_t* rate);

// Expects our samples of the stream at mp3Path, channel by channel, within rms and largest LSB of the reference's.
inline void ExpectLikeReference(const std::vector<int16_t>& ours, const std::string& mp3Path, double rms, int largest) {
  long rate = 0;
  const std::vector<int16_t> reference = ReferenceDecode(mp3Path, &rate);
  ASSERT_EQ(ours.size(), reference.size()) << mp3Path;
  for (int ch = 0; ch < 2; ++ch) {
    const Deviation d = Compare(ours, reference, ch);
    std::printf("%s channel %d: rms %.3f, largest %d LSB (frame %zu)\n", mp3Path.c_str(), ch, d.rms, d.largest,
                d.worst / kFrameSamples);
    EXPECT_LE(d.rms, rms) << mp3Path << " channel " << ch;
    EXPECT_LE(d.largest, largest) << mp3Path << " channel " << ch << ", first at frame " << d.worst / kFrameSamples;
  }
}
