// The player under quick opens, starts and stops, with the sound device reporting blocks from a thread of its own.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

#include "music/player.h"
#include "music/wave_output.h"
#include "platform/fake/fake_sound_device.h"
#include "platform/sdl/sdl_sound_device.h"
#include "tests/music_support.h"

namespace {

using namespace std::chrono_literals;

// Reports the oldest queued block done every little while, as the system's thread would, unless held.
class SystemThread {
 public:
  explicit SystemThread(FakeSoundDevice& device) : device_(device), thread_([this] { Run(); }) {}
  ~SystemThread() {
    quit_ = true;
    thread_.join();
  }
  void Hold(bool hold) { held_ = hold; }

 private:
  void Run() {
    while (!quit_) {
      if (held_ || !device_.CompleteOldest()) std::this_thread::sleep_for(200us);
    }
  }
  FakeSoundDevice& device_;
  std::atomic<bool> quit_{false};
  std::atomic<bool> held_{false};
  std::thread thread_;
};

// Runs a player call that must return within the bound; a hang ends the run instead of stalling it.
template <typename Call>
void Bounded(const char* what, Call call, std::chrono::milliseconds bound = 2s) {
  auto done = std::async(std::launch::async, call);
  if (done.wait_for(bound) != std::future_status::ready) {
    std::fprintf(stderr, "%s did not return within %lld ms\n", what, static_cast<long long>(bound.count()));
    std::abort();
  }
}

// Generous: a loaded machine under the sanitizers; only a hang should run out of it.
bool WaitUntil(const auto& ready) {
  const auto end = std::chrono::steady_clock::now() + 20s;
  while (!ready()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(200us);
  }
  return true;
}

enum class Stop { AtOnce, AfterPlaying, InFinalDrain, WithQueueFull };

TEST(MusicPlayerStress, QuickOpensStartsAndStopsLoseNoBlock) {
  ScopedFakeSound sound;
  FakeSoundDevice& device = sound.device;
  SystemThread system(device);
  // Blocks per track: 1, 4 (fewer than the queue holds, so the end waits for them) and 12 (more).
  const std::string tracks[3] = {ClickTrack(2), ClickTrack(12), ClickTrack(40)};
  struct Round {
    int track;
    Stop stop;
  };
  const Round rounds[] = {{0, Stop::AtOnce},        {1, Stop::AtOnce},       {2, Stop::AtOnce},
                          {0, Stop::AfterPlaying},  {1, Stop::InFinalDrain}, {2, Stop::WithQueueFull},
                          {1, Stop::AfterPlaying},  {2, Stop::AtOnce},       {1, Stop::InFinalDrain},
                          {2, Stop::WithQueueFull}, {0, Stop::AtOnce},       {2, Stop::AfterPlaying}};
  // A failed check still stops the playback thread, so that the process can end.
  struct StopAtEnd {
    SystemThread& system;
    ~StopAtEnd() {
      system.Hold(false);
      MusicStop();
    }
  } stopAtEnd{system};
  // 1,008 open-start-stop cycles.
  for (int repeat = 0; repeat < 84; ++repeat) {
    for (const Round& round : rounds) {
      SCOPED_TRACE(testing::Message() << "repeat " << repeat << ", track " << round.track << ", stop "
                                      << static_cast<int>(round.stop));
      // The open drains and closes the device of the track before.
      Bounded("MusicOpen", [&] { MusicOpen(tracks[round.track].c_str()); });
      ASSERT_EQ(device.Pending(), 0u);
      ASSERT_EQ(WaveQueued(), 0);
      ASSERT_EQ(device.Completions(), device.WrittenCount());
      const size_t written = device.WrittenCount();
      const bool hold = round.stop == Stop::InFinalDrain || round.stop == Stop::WithQueueFull;
      system.Hold(hold);
      MusicStart();
      switch (round.stop) {
        case Stop::AtOnce:
          break;
        case Stop::AfterPlaying:
          ASSERT_TRUE(WaitUntil([] { return !MusicRunning(); }));
          break;
        case Stop::InFinalDrain:
          ASSERT_TRUE(WaitUntil([&] { return device.WrittenCount() == written + 4; }));
          break;
        case Stop::WithQueueFull:
          ASSERT_TRUE(WaitUntil([&] { return device.WrittenCount() == written + kMaxQueuedBlocks + 1; }));
          break;
      }
      Bounded("MusicStop", MusicStop, 500ms);
      EXPECT_FALSE(MusicRunning());
      if (round.stop == Stop::InFinalDrain) {
        // The stopped drain resets the device: every block reported done, the device closed.
        EXPECT_EQ(device.Pending(), 0u);
        EXPECT_FALSE(device.IsOpen());
      }
      if (round.stop == Stop::WithQueueFull) {
        EXPECT_EQ(device.Pending(), size_t(kMaxQueuedBlocks + 1));
      }
      system.Hold(false);
    }
  }
  MusicStop();
  Bounded("MusicOpen", [] { MusicOpen(MusicFiles().Path("absent.mp3").c_str()); });
  EXPECT_EQ(device.Pending(), 0u);
  EXPECT_EQ(device.Completions(), device.WrittenCount());
  EXPECT_EQ(device.CallsDuringReports(), 0);
  EXPECT_EQ(device.Unprepared(), device.Prepared());
}

// The same over SDL's dummy driver, which plays in real time on SDL's own thread: the 1-block track ends within
// the first stops, the 4-block one is stopped in its final drain, the 12-block one with the queue full.
TEST(MusicPlayerStress, StopsOverSdlAudioReturnAtOnce) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  SdlSoundDevice device;
  ASSERT_GT(device.DeviceCount(), 0u);
  SetSoundDevice(&device);
  const std::string tracks[3] = {ClickTrack(2), ClickTrack(12), ClickTrack(40)};
  for (int round = 0; round < 9; ++round) {
    Bounded(
        "MusicOpen", [&] { MusicOpen(tracks[round % 3].c_str()); }, 3s);
    MusicStart();
    std::this_thread::sleep_for(std::chrono::milliseconds(20 * round));
    Bounded("MusicStop", MusicStop, 500ms);
  }
  Bounded(
      "MusicOpen", [] { MusicOpen(MusicFiles().Path("absent.mp3").c_str()); }, 3s);
  EXPECT_EQ(WaveQueued(), 0);
  SetSoundDevice(nullptr);
}

}  // namespace
