// qz2-tool mp3: decodes an MP3 file through the player's decode and output path into a 16-bit stereo WAV file.
#include <bit>
#include <cstdio>

#include "music/mp3_decoder.h"
#include "tools/qz2_tool/tool.h"

namespace {

// The canonical 44-byte header of a PCM WAV file.
struct WavHeader {
  char riff[4];
  uint32_t riffSize;
  char wave[4];
  char fmt[4];
  uint32_t fmtSize;
  uint16_t format;
  uint16_t channels;
  uint32_t rate;
  uint32_t byteRate;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
  char data[4];
  uint32_t dataSize;
};
static_assert(sizeof(WavHeader) == 44);
static_assert(std::endian::native == std::endian::little, "samples are written as they lie in memory");

class WavWriter {
 public:
  void Bytes(const char* text) {
    for (int i = 0; i < 4; ++i) bytes_[size_++] = uint8_t(text[i]);
  }
  void U16(uint16_t v) {
    bytes_[size_++] = uint8_t(v);
    bytes_[size_++] = uint8_t(v >> 8);
  }
  void U32(uint32_t v) {
    U16(uint16_t(v));
    U16(uint16_t(v >> 16));
  }
  const uint8_t* data() const { return bytes_; }

 private:
  uint8_t bytes_[sizeof(WavHeader)];
  size_t size_ = 0;
};

// Writes the blocks as they are flushed; the header is written again with the sizes at the end.
class WavSink : public OutputSink {
 public:
  explicit WavSink(FILE* file) : file_(file) { WriteHeader(); }
  void Begin(int32_t rate) override { rate_ = uint32_t(rate); }
  bool Write(const int16_t* samples, uint32_t bytes) override {
    const bool ok = std::fwrite(samples, 1, bytes, file_) == bytes;
    failed_ = failed_ || !ok;
    if (ok) dataBytes_ += bytes;
    return ok;
  }
  void End() override {
    failed_ = failed_ || std::fseek(file_, 0, SEEK_SET) != 0;
    WriteHeader();
  }
  bool failed() const { return failed_; }

 private:
  void WriteHeader() {
    const WavHeader header{{'R', 'I', 'F', 'F'},
                           36 + dataBytes_,
                           {'W', 'A', 'V', 'E'},
                           {'f', 'm', 't', ' '},
                           16,
                           1,
                           2,
                           rate_,
                           rate_ * 4,
                           4,
                           16,
                           {'d', 'a', 't', 'a'},
                           dataBytes_};
    WavWriter w;
    w.Bytes(header.riff);
    w.U32(header.riffSize);
    w.Bytes(header.wave);
    w.Bytes(header.fmt);
    w.U32(header.fmtSize);
    w.U16(header.format);
    w.U16(header.channels);
    w.U32(header.rate);
    w.U32(header.byteRate);
    w.U16(header.blockAlign);
    w.U16(header.bitsPerSample);
    w.Bytes(header.data);
    w.U32(header.dataSize);
    failed_ = failed_ || std::fwrite(w.data(), 1, sizeof(WavHeader), file_) != sizeof(WavHeader);
  }

  FILE* file_;
  uint32_t rate_ = 0;
  uint32_t dataBytes_ = 0;
  bool failed_ = false;
};

int RunMp3(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: qz2-tool mp3 IN.mp3 OUT.wav\n", stderr);
    return 2;
  }
  FILE* file = std::fopen(argv[2], "wb");
  if (!file) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  WavSink sink(file);
  Mp3Decoder decoder;
  const TrackSummary summary = DecodeTrack(decoder, argv[1], sink);
  const bool failed = std::fclose(file) != 0 || sink.failed();
  if (!summary.opened) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  if (summary.end == TrackStatus::Unplayable) {
    std::fprintf(stderr, "%s: a window-switched granule has block_type 0; the player would exit with code 1\n",
                 argv[1]);
    return 1;
  }
  if (failed) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  JsonWriter json;
  json.BeginObject();
  json.Key("frames");
  json.Integer(summary.frames);
  json.Key("clipped");
  json.Integer(summary.clipped);
  json.Key("rate");
  json.Integer(summary.rate);
  json.EndObject();
  json.Finish();
  return 0;
}

const ToolCommandRegistration kRegistration({"mp3", "IN.mp3 OUT.wav", RunMp3});

}  // namespace
