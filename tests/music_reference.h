// Test support against the reference decoder (Linux): lame streams from test signals, libmpg123 decoding.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A test signal with tones, a chirp and sharp clicks (which make the encoder switch to short blocks), as
// raw 16-bit little-endian samples.
void WriteTestSignal(const std::string& rawPath, int rate, int channels, double seconds);
// Runs lame -t on the raw samples at their rate with the options (-m m for one channel); false when it fails.
bool Encode(const std::string& rawPath, int rate, const std::string& mp3Path, const std::string& options);
// libmpg123 without gapless decoding, 16-bit stereo at the stream's rate.
std::vector<int16_t> ReferenceDecode(const std::string& mp3Path, long* rate);
// How far one channel of our samples lies from the reference's, samples on the rails left out.
struct Deviation {
  double rms;
  int largest;
  size_t worst;  // the sample index of the largest difference
};
Deviation Compare(const std::vector<int16_t>& ours, const std::vector<int16_t>& reference, int channel);
// The samples of a 16-bit WAV file written by qz2-tool mp3; its rate in *rate.
std::vector<int16_t> ReadWav(const std::string& path, int32_t* rate);
