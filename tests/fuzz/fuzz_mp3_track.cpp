// Fuzz target: a whole MP3 track decoded from its file into a sink that drops the samples.
#include <cstddef>
#include <cstdint>

#include "music/mp3_decoder.h"
#include "platform/fake/fake_platform.h"
#include "tests/fuzz/fuzz_scratch.h"

namespace {

class NullSink : public OutputSink {
 public:
  void Begin(int32_t) override {}
  bool Write(const int16_t*, uint32_t) override { return true; }
  void End() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ScratchFile track(".mp3");
  if (!track.Write(data, size)) return 0;
  ScopedFakePlatform sys;
  NullSink sink;
  Mp3Decoder decoder;
  try {
    DecodeTrack(decoder, track.Path(), sink);
  } catch (const FakeExit&) {
  }
  return 0;
}
