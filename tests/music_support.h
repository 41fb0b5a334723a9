// Test support for the music suite: its scratch files, click tracks and decoding through the track path.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "music/pcm_output.h"
#include "tests/support.h"
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

// The suite's files, in a scratch folder of the process's own.
const Scratch& MusicFiles();

// How far one channel of our samples lies from the reference's, samples on the rails left out.
struct Deviation {
  double rms;
  int largest;
  size_t worst;  // the sample index of the largest difference
};
Deviation Compare(const std::vector<int16_t>& ours, const std::vector<int16_t>& reference, int channel);

// Where a saved reference decode of a stream lies: the folder, then the stream's CRC-32 in hex.
std::string SavedReferencePath(const std::string& folder, const std::vector<uint8_t>& stream);

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
