// The wave output's throttle and formats, and the player's thread over a sound device the test drives.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <tuple>

#include "music/player.h"
#include "music/wave_output.h"
#include "platform/fake/fake_sound_device.h"
#include "tests/music_support.h"

namespace {

using namespace std::chrono_literals;

constexpr uint32_t kFrameBytes = 2 * kFrameSamples;

// Completes every block the device holds until the thread ends or the time runs out.
bool PlayOut(FakeSoundDevice& device, std::chrono::milliseconds limit = 5000ms) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (MusicRunning() && std::chrono::steady_clock::now() < end) {
    if (!device.CompleteOldest()) std::this_thread::sleep_for(1ms);
  }
  return !MusicRunning();
}

class MusicPlayer : public ::testing::Test {
 protected:
  void TearDown() override {
    MusicStop();
    while (sound_.device.CompleteOldest()) {
    }
    WaveClose(kUnsetOutput);
  }
  ScopedFakeSound sound_;
};

TEST_F(MusicPlayer, TheEighthWriteWaitsUntilABlockIsDone) {
  OutputFormat output = kUnsetOutput;
  ProbeOutputCapabilities(output);
  FitOutputFormat(output, 44100);
  ASSERT_EQ(WaveOpen(output), 0);
  const std::vector<int16_t> block(kPcmBlockBytes / 2, 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(WaveWrite(block.data(), kPcmBlockBytes), int32_t(kPcmBlockBytes));
  auto eighth = std::async(std::launch::async, [&] { return WaveWrite(block.data(), kPcmBlockBytes); });
  EXPECT_EQ(eighth.wait_for(250ms), std::future_status::timeout);
  EXPECT_EQ(sound_.device.WrittenCount(), 7u);
  ASSERT_TRUE(sound_.device.CompleteOldest());
  ASSERT_EQ(eighth.wait_for(2s), std::future_status::ready);
  EXPECT_EQ(eighth.get(), int32_t(kPcmBlockBytes));
  EXPECT_EQ(WaveQueued(), 7);
}

TEST_F(MusicPlayer, WithoutADeviceATrackPlaysIntoNothingAndEnds) {
  sound_.device.devices = 0;
  MusicOpen(ClickTrack(12).c_str());
  MusicStart();
  EXPECT_TRUE(PlayOut(sound_.device));
  EXPECT_TRUE(sound_.device.Written().empty());
  // Closing what never opened only resets the count.
  EXPECT_EQ(sound_.device.Closes(), 0);
  EXPECT_EQ(WaveQueued(), 0);
}

TEST_F(MusicPlayer, ATrackPlaysInFullBlocksAndTheRestAtItsEnd) {
  // 12 frames: three full blocks and the rest; 2 frames: one write, shorter than a block.
  for (int frames : {12, 2}) {
    const size_t opened = sound_.device.Opens().size();
    const size_t written = sound_.device.WrittenCount();
    MusicOpen(ClickTrack(frames).c_str());
    MusicStart();
    ASSERT_TRUE(PlayOut(sound_.device));
    // The first frame opens the device, and reopens it once for the fitted format: 16-bit stereo.
    const std::vector<SoundFormat> opens = sound_.device.Opens();
    ASSERT_EQ(opens.size(), opened + 2);
    const SoundFormat& f = opens.back();
    EXPECT_EQ(std::tie(f.formatTag, f.channels, f.samplesPerSecond, f.bytesPerSecond, f.blockAlign, f.bitsPerSample),
              std::make_tuple(1, 2, 44100u, 176400u, 4, 16));
    const auto blocks = sound_.device.Written();
    const uint32_t bytes = uint32_t(frames) * kFrameBytes;
    ASSERT_EQ(blocks.size(), written + bytes / kPcmBlockBytes + 1);
    for (size_t i = written; i < blocks.size(); ++i) {
      EXPECT_EQ(blocks[i].size() * 2, i + 1 < blocks.size() ? kPcmBlockBytes : bytes % kPcmBlockBytes);
    }
    EXPECT_FALSE(sound_.device.IsOpen());
    // Blocks are unprepared by the writer, never from inside the device's report.
    EXPECT_EQ(sound_.device.CallsDuringReports(), 0);
    EXPECT_EQ(sound_.device.Unprepared(), sound_.device.Prepared());
    // The thread has ended: stopping now changes nothing.
    const int closes = sound_.device.Closes();
    MusicStop();
    EXPECT_EQ(sound_.device.Closes(), closes);
  }
}

TEST_F(MusicPlayer, StopEndsAWaitingThreadAndTheNextOpenDrainsTheOldDevice) {
  MusicOpen(ClickTrack(40).c_str());
  MusicStart();
  // No block is ever done: the thread fills the device and waits.
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (sound_.device.WrittenCount() < 7 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(1ms);
  ASSERT_EQ(sound_.device.WrittenCount(), 7u);
  const auto before = std::chrono::steady_clock::now();
  MusicStop();
  EXPECT_LT(std::chrono::steady_clock::now() - before, 500ms);
  EXPECT_FALSE(MusicRunning());
  EXPECT_EQ(sound_.device.WrittenCount(), 7u);
  EXPECT_TRUE(sound_.device.IsOpen());

  // The next open waits for the queued blocks before it closes the device.
  auto open = std::async(std::launch::async, [] { MusicOpen(ClickTrack(2).c_str()); });
  EXPECT_EQ(open.wait_for(200ms), std::future_status::timeout);
  EXPECT_TRUE(sound_.device.IsOpen());
  while (sound_.device.CompleteOldest()) {
  }
  ASSERT_EQ(open.wait_for(2s), std::future_status::ready);
  EXPECT_FALSE(sound_.device.IsOpen());
  EXPECT_EQ(WaveQueued(), 0);
}

TEST_F(MusicPlayer, AMissingFileStartsNoThread) {
  MusicOpen(MusicFiles().Path("absent.mp3").c_str());
  MusicStart();
  EXPECT_FALSE(MusicRunning());
  EXPECT_TRUE(sound_.device.Opens().empty());
}

}  // namespace
