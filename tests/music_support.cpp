// Test support for the music suite: its scratch files, comparisons, click tracks and decoding through the track path.
#include "tests/music_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/crc32.h"
#include "music/mp3_decoder.h"

const Scratch& MusicFiles() {
  static const Scratch files;
  return files;
}

Deviation Compare(const std::vector<int16_t>& ours, const std::vector<int16_t>& reference, int channel) {
  Deviation d{0.0, 0, 0};
  size_t counted = 0;
  for (size_t i = size_t(channel); i < ours.size() && i < reference.size(); i += 2) {
    const auto rail = [](int16_t s) { return s == 32767 || s == -32768; };
    if (rail(ours[i]) || rail(reference[i])) continue;
    const int difference = std::abs(ours[i] - reference[i]);
    d.rms += double(difference) * difference;
    if (difference > d.largest) {
      d.largest = difference;
      d.worst = i;
    }
    ++counted;
  }
  d.rms = counted ? std::sqrt(d.rms / double(counted)) : 0.0;
  return d;
}

std::string SavedReferencePath(const std::string& folder, const std::vector<uint8_t>& stream) {
  char name[16];
  std::snprintf(name, sizeof name, "%08x.pcm", Crc32(0, stream.data(), stream.size()));
  return folder + "/" + name;
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
