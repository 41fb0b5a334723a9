// Test support for the music suite: temporary files, click tracks and decoding through the track path.
#include "tests/music_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "music/mp3_decoder.h"

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
