// Test support for the music suite: lame streams, reference decoding, temporary files.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "music/pcm_output.h"
#include "tools/content/mp3_frame_writer.h"

// Interleaved stereo samples of one MPEG-1 frame.
constexpr size_t kFrameSamples = 2 * 1152;

// Collects what the decoder flushes.
class CaptureSink : public OutputSink {
 public:
  void Begin(int32_t) override {}
  bool Write(const int16_t* samples, uint32_t bytes) override {
    pcm_.insert(pcm_.end(), samples, samples + bytes / 2);
    return true;
  }
  void End() override { ended_ = true; }
  const std::vector<int16_t>& pcm() const { return pcm_; }
  bool ended() const { return ended_; }

 private:
  std::vector<int16_t> pcm_;
  bool ended_ = false;
};

std::string TempPath(const std::string& name);
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
// A track of a silent frame and then clicks: frames * 2 * kFrameSamples bytes of PCM.
std::string ClickTrack(int frames);
// Decodes the bytes through the track path with a new decoder; interleaved stereo samples.
std::vector<int16_t> DecodeBytes(const std::vector<uint8_t>& bytes, int32_t* frames = nullptr);
inline std::vector<int16_t> FrameOf(const std::vector<int16_t>& pcm, size_t frame) {
  return std::vector<int16_t>(pcm.begin() + long(frame * kFrameSamples),
                              pcm.begin() + long((frame + 1) * kFrameSamples));
}
inline bool Silent(const std::vector<int16_t>& pcm) {
  return std::all_of(pcm.begin(), pcm.end(), [](int16_t s) { return s == 0; });
}

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
