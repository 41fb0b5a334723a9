// The wave output's throttle and formats, and the player's thread over a sound device the test drives.
#include <chrono>
#include <future>
#include <thread>

#include <gtest/gtest.h>

#include "music/player.h"
#include "music/wave_output.h"
#include "platform/fake/fake_sound_device.h"
#include "tests/music_support.h"

namespace {

using namespace std::chrono_literals;

constexpr uint32_t kFrameBytes = 1152 * 4;

// A silent frame and then clicks: frames * 4608 bytes of PCM.
std::string ClickTrack(int frames) {
  FrameSpec silent;
  std::vector<uint8_t> stream = BuildFrame(silent);
  for (int i = 1; i < frames; ++i) Append(stream, BuildFrame(ClickFrame()));
  const std::string path = TempPath("clicks.mp3");
  WriteFile(path, stream);
  return path;
}

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
  EXPECT_EQ(sound_.device.Written().size(), 7u);
  ASSERT_TRUE(sound_.device.CompleteOldest());
  ASSERT_EQ(eighth.wait_for(2s), std::future_status::ready);
  EXPECT_EQ(eighth.get(), int32_t(kPcmBlockBytes));
  EXPECT_EQ(WaveQueued(), 7);
}

TEST_F(MusicPlayer, DeviceIsAlwaysSixteenBitStereoAtTheStreamRate) {
  OutputFormat output = kUnsetOutput;
  ProbeOutputCapabilities(output);
  FitOutputFormat(output, 22050);
  EXPECT_EQ(output.rate, 22050);
  EXPECT_EQ(output.format, 272);
  EXPECT_EQ(output.channels, 2);
  // Whatever the fit chose, the device is opened for 16-bit stereo.
  output.channels = 1;
  ASSERT_EQ(WaveOpen(output), 0);
  const SoundFormat opened = sound_.device.Opens().back();
  EXPECT_EQ(opened.formatTag, 1);
  EXPECT_EQ(opened.channels, 2);
  EXPECT_EQ(opened.samplesPerSecond, 22050u);
  EXPECT_EQ(opened.bytesPerSecond, 88200u);
  EXPECT_EQ(opened.blockAlign, 4);
  EXPECT_EQ(opened.bitsPerSample, 16);
}

TEST_F(MusicPlayer, WithoutADeviceSamplesAreDroppedAndCloseOnlyResets) {
  sound_.device.devices = 0;
  OutputFormat output = kUnsetOutput;
  ProbeOutputCapabilities(output);
  EXPECT_EQ(WaveOpen(output), 0);  // nothing to do while the rate is unset
  FitOutputFormat(output, 44100);
  EXPECT_EQ(WaveOpen(output), -1);
  const std::vector<int16_t> block(kPcmBlockBytes / 2, 7);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(WaveWrite(block.data(), kPcmBlockBytes), -1);
  EXPECT_EQ(WaveClose(output), 0);
  EXPECT_EQ(sound_.device.Closes(), 0);
  EXPECT_EQ(WaveQueued(), 0);

  // The show goes on: a whole track plays into nothing and its thread ends.
  MusicOpen(ClickTrack(12).c_str());
  MusicStart();
  EXPECT_TRUE(PlayOut(sound_.device));
  EXPECT_TRUE(sound_.device.Written().empty());
}

TEST_F(MusicPlayer, FirstFrameOpensTheDeviceAndReopensItOnceForTheFittedFormat) {
  MusicOpen(ClickTrack(12).c_str());
  MusicStart();
  ASSERT_TRUE(PlayOut(sound_.device));
  const std::vector<SoundFormat> opens = sound_.device.Opens();
  ASSERT_EQ(opens.size(), 2u);
  EXPECT_EQ(opens[1].samplesPerSecond, 44100u);
  // 12 frames: three full blocks and the rest at the end.
  const auto written = sound_.device.Written();
  ASSERT_EQ(written.size(), 4u);
  EXPECT_EQ(written[3].size() * 2, 12 * kFrameBytes - 3 * kPcmBlockBytes);
  EXPECT_FALSE(sound_.device.IsOpen());
}

TEST_F(MusicPlayer, ATrackShorterThanABlockIsOneWriteAtTheEnd) {
  MusicOpen(ClickTrack(2).c_str());
  MusicStart();
  ASSERT_TRUE(PlayOut(sound_.device));
  const auto written = sound_.device.Written();
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].size() * 2, 2 * kFrameBytes);
  EXPECT_FALSE(sound_.device.IsOpen());
  // The thread has ended: stopping now changes nothing.
  const int closes = sound_.device.Closes();
  MusicStop();
  EXPECT_EQ(sound_.device.Closes(), closes);
}

TEST_F(MusicPlayer, StopEndsAWaitingThreadAndTheNextOpenDrainsTheOldDevice) {
  MusicOpen(ClickTrack(40).c_str());
  MusicStart();
  // No block is ever done: the thread fills the device and waits.
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (sound_.device.Written().size() < 7 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(1ms);
  ASSERT_EQ(sound_.device.Written().size(), 7u);
  const auto before = std::chrono::steady_clock::now();
  MusicStop();
  EXPECT_LT(std::chrono::steady_clock::now() - before, 500ms);
  EXPECT_FALSE(MusicRunning());
  EXPECT_EQ(sound_.device.Written().size(), 7u);
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
  MusicOpen(TempPath("absent.mp3").c_str());
  MusicStart();
  EXPECT_FALSE(MusicRunning());
  EXPECT_TRUE(sound_.device.Opens().empty());
}

}  // namespace
