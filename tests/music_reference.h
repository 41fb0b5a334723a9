// Test support against the reference decoder (Linux): lame streams from test signals, libmpg123 decoding.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A second and a half of a test signal with tones, a chirp and sharp clicks (which make the encoder switch to short
// blocks), encoded by lame -t at its rate with the options (-m m for one channel) into the suite's file NAME.mp3;
// its path, or "" when lame fails.
std::string EncodeTestSignal(const std::string& name, int rate, int channels, const std::string& options);
// Expects our samples of the stream at mp3Path, channel by channel, within rms and largest LSB of libmpg123's
// (without gapless decoding, 16-bit stereo at the stream's rate).
void ExpectLikeReference(const std::vector<int16_t>& ours, const std::string& mp3Path, double rms, int largest);
// How far one channel of our samples lies from the reference's, samples on the rails left out.
struct Deviation {
  double rms;
  int largest;
  size_t worst;  // the sample index of the largest difference
};
Deviation Compare(const std::vector<int16_t>& ours, const std::vector<int16_t>& reference, int channel);
// The samples of a 16-bit WAV file written by qz2-tool mp3; its rate in *rate.
std::vector<int16_t> ReadWav(const std::string& path, int32_t* rate);
