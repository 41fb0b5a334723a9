// The music player's state and its playback thread over the track decode path and the wave output; in a page,
// which has one thread, the frame loop feeds the device instead.
#include "music/player.h"

#include <atomic>
#include <thread>

#include "music/mp3_decoder.h"
#include "music/wave_output.h"
#include "platform/platform.h"
#ifdef __EMSCRIPTEN__
#include "platform/web/web_platform.h"
#endif

namespace {

struct MusicState {
  bool opened = false;
  bool feeding = false;   // in a page: frames still to decode
  bool draining = false;  // in a page: all decoded, the device still playing the last blocks
  std::atomic<bool> running{false};
  std::thread* thread = nullptr;
  bool outputReady = false;
  OutputFormat output = kUnsetOutput;
  // Made by the first MusicOpen and kept for every later track; only the playback thread decodes with it.
  Mp3Decoder* decoder = nullptr;
};

MusicState g_music;
// Checked before each frame; the output checks its own flag while it waits for a free block or a drain.
std::atomic<bool> g_stopRequested{false};

// The device side of the decode path: the first frame fixes the format and opens the device.
class DeviceSink : public OutputSink {
 public:
  void Begin(int32_t rate) override {
    const OutputFormat before = g_music.output;
    FitOutputFormat(g_music.output, rate);
    if (!g_music.outputReady) {
      WaveOpen(g_music.output);
      g_music.outputReady = true;
    }
    const OutputFormat& now = g_music.output;
    if (now.rate != before.rate || now.channels != before.channels || now.format != before.format) {
      WaveClose(g_music.output);
      WaveOpen(g_music.output);
    }
  }
  bool Write(const int16_t* samples, uint32_t bytes) override { return WaveWrite(samples, bytes) >= 0; }
  void End() override { WaveClose(g_music.output); }
};

DeviceSink g_sink;

bool PlayFrame() {
  const TrackStatus status = TrackPlayFrame(*g_music.decoder, g_sink);
  if (status == TrackStatus::Unplayable) Sys().ExitProcess(1);
  return status == TrackStatus::Playing;
}

void PlaybackThread() {
  while (!g_stopRequested && PlayFrame()) {
  }
  // A stopped track leaves its queued blocks to play out; the next MusicOpen closes the device.
  if (g_stopRequested) return;
  TrackClose(*g_music.decoder, g_sink);
  g_music.running = false;
}

#ifdef __EMSCRIPTEN__
// Each frame of the page decodes until the device holds its fill of blocks; once the track has ended and its
// last block has played, the device closes, as the playback thread closes it.
void FeedDevice() {
  while (g_music.feeding && WaveQueued() < kMaxQueuedBlocks) {
    if (PlayFrame()) continue;
    g_music.feeding = false;
    g_music.draining = true;
  }
  if (!g_music.draining || WaveQueued() > 0) return;
  g_music.draining = false;
  TrackClose(*g_music.decoder, g_sink);
  g_music.running = false;
}
#endif

// Stops the thread if it still runs and releases its handle.
void EndThread() {
  g_music.feeding = g_music.draining = false;
  if (!g_music.thread) return;
  g_stopRequested = true;
  CancelWaveWrites(true);
  g_music.thread->join();
  g_stopRequested = false;
  CancelWaveWrites(false);
  delete g_music.thread;
  g_music.thread = nullptr;
  g_music.running = false;
}

}  // namespace

void MusicOpen(const char* path) {
  EndThread();
  g_music.running = false;
  g_music.outputReady = false;
  g_music.output = kUnsetOutput;
  ProbeOutputCapabilities(g_music.output);
  if (!g_music.decoder) {
    g_music.decoder = new Mp3Decoder;
#ifdef __EMSCRIPTEN__
    WebPlatform_AddFrameHook(FeedDevice);
#endif
  }
  g_music.opened = TrackOpen(*g_music.decoder, path);
}

void MusicStart() {
  if (!g_music.opened || g_music.thread || g_music.feeding) return;
  // Set first: a short track may end before the thread's creation returns.
  g_music.running = true;
#ifdef __EMSCRIPTEN__
  g_music.feeding = true;
  return;
#endif
  // Held through a pointer: a process ended from the thread must not run a joinable thread's destructor.
  g_music.thread = new std::thread(PlaybackThread);
}

void MusicStop() { EndThread(); }

bool MusicRunning() { return g_music.running; }
