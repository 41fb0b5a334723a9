// Test support for the music suite: its scratch files, click tracks and decoding through the track path.
#include "tests/music_support.h"

#include <gtest/gtest.h>

#include "music/mp3_decoder.h"

const Scratch& MusicFiles() {
  static const Scratch files;
  return files;
}

std::string ClickTrack(int frames) {
  std::vector<uint8_t> stream = Stream({});
  for (int i = 1; i < frames; ++i) Append(stream, BuildFrame(ClickFrame()));
  return MusicFiles().Write("clicks" + std::to_string(frames) + ".mp3", stream);
}

std::vector<int16_t> DecodeBytes(const std::vector<uint8_t>& bytes, int32_t* frames) {
  const std::string path = MusicFiles().Write("bytes.mp3", bytes);
  CaptureSink sink;
  Mp3Decoder decoder;
  const TrackSummary summary = DecodeTrack(decoder, path.c_str(), sink);
  EXPECT_TRUE(summary.opened);
  if (frames) *frames = summary.frames;
  return sink.pcm();
}
