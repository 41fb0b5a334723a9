// Test support against the reference decoder (Linux): lame streams from test signals, libmpg123 decoding (in
// WebAssembly: the decodes a native run saved).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A test signal with tones, a chirp and sharp clicks (which make the encoder switch to short blocks), as
// raw 16-bit little-endian samples.
void WriteTestSignal(const std::string& rawPath, int rate, int channels, double seconds);
// Runs lame -t on the raw samples at their rate with the options (-m m for one channel); false when it fails.
bool Encode(const std::string& rawPath, int rate, const std::string& mp3Path, const std::string& options);
// libmpg123 without gapless decoding, 16-bit stereo at the stream's rate. Each decode is also saved in the
// build's reference folder under the stream's CRC-32, where the browser build's run of the same tests finds it.
std::vector<int16_t> ReferenceDecode(const std::string& mp3Path, long* rate);
// The samples of a 16-bit WAV file written by qz2-tool mp3; its rate in *rate.
std::vector<int16_t> ReadWav(const std::string& path, int32_t* rate);
