// Test support for the music suite: temporary files, click tracks and decoding through the track path.
#include "tests/music_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "core/crc32.h"
#include "music/mp3_decoder.h"

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

// CTest runs the tests in parallel processes: each test's files carry its own name.
std::string TempPath(const std::string& name) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string owner = test ? std::string(test->test_suite_name()) + "." + test->name() : "none";
  std::replace(owner.begin(), owner.end(), '/', '_');
  return ::testing::TempDir() + "qz2_music_" + owner + "_" + name;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::string ClickTrack(int frames) {
  std::vector<uint8_t> stream = Stream({});
  for (int i = 1; i < frames; ++i) Append(stream, BuildFrame(ClickFrame()));
  const std::string path = TempPath("clicks" + std::to_string(frames) + ".mp3");
  WriteFile(path, stream);
  return path;
}

std::vector<int16_t> DecodeBytes(const std::vector<uint8_t>& bytes, int32_t* frames) {
  const std::string path = TempPath("bytes.mp3");
  WriteFile(path, bytes);
  CaptureSink sink;
  Mp3Decoder decoder;
  const TrackSummary summary = DecodeTrack(decoder, path.c_str(), sink);
  EXPECT_TRUE(summary.opened);
  if (frames) *frames = summary.frames;
  return sink.pcm();
}
