// Fuzz target: a whole MP3 track decoded from its file into a sink that drops the samples.
#include <cstddef>
#include <cstdint>
#include <string>

#include "music/mp3_decoder.h"
#include "tests/null_sink.h"
#include "tests/support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Scratch scratch;
  const std::string track = scratch.Write("track.mp3", data, size);
  ScopedFakePlatform sys;
  NullSink sink;
  Mp3Decoder decoder;
  try {
    DecodeTrack(decoder, track.c_str(), sink);
  } catch (const FakeExit&) {
  }
  return 0;
}
