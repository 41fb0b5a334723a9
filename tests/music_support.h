// Test support for the music suite: MP3 frames built bit by bit, lame streams, reference decoding.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "music/pcm_output.h"

// Bits most significant first.
class BitWriter {
 public:
  void Put(uint32_t value, int bits);
  int size() const { return bits_; }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  int bits_ = 0;
};

struct GranuleSpec {
  int part23Length = 0;
  int bigValues = 0;
  int globalGain = 170;
  int scalefacCompress = 0;
  bool windowSwitching = false;
  int blockType = 0;
  int mixedBlock = 0;
  int tableSelect[3] = {0, 0, 0};
  int subblockGain[3] = {0, 0, 0};
  int region0Count = 7;
  int region1Count = 7;
  int preflag = 0;
  int scalefacScale = 0;
  int count1Table = 0;
};

// An MPEG-1 Layer III frame at 44100 Hz, 320 kbit/s (1040 body bytes) unless told otherwise.
struct FrameSpec {
  int bitrateIndex = 14;
  int mode = 0;
  int modeExtension = 0;
  bool protection = false;
  int mainDataBegin = 0;
  GranuleSpec granules[2][2];
  std::vector<uint8_t> mainData;  // from the end of the side information on
};

std::vector<uint8_t> BuildFrame(const FrameSpec& frame);
// A frame whose first granule holds one pair of table 1 in each channel: a short, audible click.
FrameSpec ClickFrame();
void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes);

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
// Decodes the bytes through the track path; interleaved stereo samples.
std::vector<int16_t> DecodeBytes(const std::vector<uint8_t>& bytes, int32_t* frames = nullptr);
// The same without the first frame, into which the filters carry the previous track's tail: streams
// that start with a silent frame then decode the same whatever played before.
std::vector<int16_t> Settled(const std::vector<uint8_t>& bytes, int32_t* frames = nullptr);

// A test signal with tones, a chirp and sharp clicks (which make the encoder switch to short blocks).
void WriteTestSignal(const std::string& wavPath, int rate, int channels, double seconds);
// Runs lame -t with the options; false when it fails.
bool Encode(const std::string& wavPath, const std::string& mp3Path, const std::string& options);
// libmpg123 without gapless decoding, 16-bit stereo at the stream's rate.
std::vector<int16_t> ReferenceDecode(const std::string& mp3Path, long* rate);
// The samples of a 16-bit WAV file written by qz2-tool mp3; its rate in *rate.
std::vector<int16_t> ReadWav(const std::string& path, int32_t* rate);
