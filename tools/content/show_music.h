// The default show's three music tracks, synthesised as 16-bit stereo PCM at 44100 Hz.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kShowMusicRate = 44100;

// Interleaved left/right samples of track 1, 2 or 3, lasting the given seconds; the same bytes on every run.
std::vector<int16_t> SynthesiseShowTrack(int track, float seconds);
// Encodes raw, a file of such samples, into the MP3 file out with lame and its options; false when lame fails.
bool EncodeWithLame(const std::string& raw, const std::string& out, const std::string& options);
