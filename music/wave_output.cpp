// The throttled block writer over the sound device, with the completion report that frees finished blocks.
#include "music/wave_output.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>

#include "music/pcm_output.h"
#include "platform/platform.h"

namespace {

constexpr int32_t kChannelCounts[2] = {1, 2};
constexpr int kRateCount = 10;
constexpr int32_t kRates[kRateCount] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000, 8000};
constexpr int kFormatCount = 6;
constexpr int32_t kFormats[kFormatCount] = {272, 288, 1, 2, 4, 8};
// The format query answers 16-bit signed whatever the device: that is what the synthesis produces.
constexpr int32_t kFormatMask = 272;

// The most blocks in flight: the writer queues one more once the count is down to kMaxQueuedBlocks.
constexpr int kBlockSlots = kMaxQueuedBlocks + 1;

// A block's copy of the samples lives in a fixed slot until the writer reclaims it after its completion report, so
// no block is allocated while a track plays.
struct OutputBlock : SoundBlock {
  bool busy;      // prepared and written
  bool finished;  // reported done, not yet unprepared
  int16_t samples[kPcmBlockBytes / 2];
};

uint8_t g_capabilities[2][kFormatCount][kRateCount];
bool g_deviceOpen = false;
std::mutex g_lock;
bool g_lockReady = false;
std::atomic<int32_t> g_queued{0};
// Changed under g_lock and signalled, so a waiter wakes at once on a finished block or a cancel.
bool g_cancelled = false;
std::condition_variable g_queueChanged;
OutputBlock g_blocks[kBlockSlots];
// How long a close waits for the reports of the blocks a reset returned.
constexpr std::chrono::seconds kResetReports{2};

// Waits until at most `limit` blocks are queued; false when writes were cancelled first. A page has one thread,
// which the device's reports need: there it never waits, and its feeder writes only into a free block.
bool WaitForQueue(int32_t limit) {
#ifdef __EMSCRIPTEN__
  return g_queued <= limit;
#endif
  std::unique_lock<std::mutex> hold(g_lock);
  g_queueChanged.wait(hold, [limit] { return g_queued <= limit || g_cancelled; });
  return g_queued <= limit;
}

int RateIndex(int32_t rate) {
  for (int i = 0; i < kRateCount; ++i) {
    if (kRates[i] == rate) return i;
  }
  return -1;
}

// With g_lock held, on the writer's thread: the completion report may call nothing of the device's, so
// finished blocks (or, once the device has been reset, all of them) are unprepared here.
void ReclaimBlocks(bool all) {
  for (OutputBlock& block : g_blocks) {
    if (!block.busy || !(block.finished || all)) continue;
    Sound().Unprepare(block);
    block.busy = block.finished = false;
  }
}

OutputBlock* FreeBlock() {
  ReclaimBlocks(false);
  for (OutputBlock& block : g_blocks) {
    if (!block.busy) return &block;
  }
  return nullptr;
}

}  // namespace

void ProbeOutputCapabilities(const OutputFormat& output) {
  OutputFormat probe = output;
  std::memset(g_capabilities, 0, sizeof g_capabilities);
  WaveOpen(probe);
  for (int c = 0; c < 2; ++c) {
    for (int r = 0; r < kRateCount; ++r) {
      for (int f = 0; f < kFormatCount; ++f) {
        if ((kFormats[f] & kFormatMask) == kFormats[f]) g_capabilities[c][f][r] = 1;
      }
    }
  }
  WaveClose(probe);
}

void FitOutputFormat(OutputFormat& output, int32_t streamRate) {
  const int32_t rates[3] = {streamRate, streamRate / 2, streamRate / 4};
  const int formatRanges[2][2] = {{0, 2}, {2, kFormatCount}};
  for (const auto& range : formatRanges) {
    for (int32_t rate : rates) {
      const int r = RateIndex(rate);
      if (r < 0) continue;
      for (int f = range[0]; f < range[1]; ++f) {
        if (!g_capabilities[1][f][r]) continue;
        output.rate = kRates[r];
        output.format = kFormats[f];
        output.channels = kChannelCounts[1];
        return;
      }
    }
  }
  Sys().ExitProcess(1);
}

int WaveOpen(const OutputFormat& output) {
  if (output.rate == -1) return 0;
  SoundDevice& device = Sound();
  if (device.DeviceCount() == 0) return -1;
  // Always 16-bit stereo, whatever the fit chose: that is what the PCM buffer holds.
  const SoundFormat format{1, 2, uint32_t(output.rate), 4 * uint32_t(output.rate), 4, 16};
  if (!device.Open(uint32_t(output.device), format, WaveDone)) return -1;
  g_deviceOpen = true;
  device.Reset();
  g_lockReady = true;
  return 0;
}

int32_t WaveWrite(const int16_t* samples, uint32_t bytes) {
  if (!WaitForQueue(kMaxQueuedBlocks)) return -1;
  if (!g_deviceOpen || !g_lockReady || bytes > kPcmBlockBytes) return -1;
  std::lock_guard<std::mutex> hold(g_lock);
  OutputBlock* block = FreeBlock();
  if (!block) return -1;
  std::memcpy(block->samples, samples, bytes);
  block->data = block->samples;
  block->bytes = bytes;
  block->system = nullptr;
  SoundDevice& device = Sound();
  if (!device.Prepare(*block)) return -1;
  if (!device.Write(*block)) {
    device.Unprepare(*block);
    return -1;
  }
  block->busy = true;
  ++g_queued;
  return int32_t(bytes);
}

void WaveDone(SoundBlock* done) {
  std::lock_guard<std::mutex> hold(g_lock);
  auto* block = static_cast<OutputBlock*>(done);
  // A report late enough to find its block already reclaimed counts no more.
  if (!block->busy || block->finished) return;
  block->finished = true;
  --g_queued;
  g_queueChanged.notify_all();
}

int WaveClose(const OutputFormat&) {
  if (g_deviceOpen) {
    // A cancelled drain stops waiting: the reset reports every block still queued done, though the reports
    // may come after it returns.
    WaitForQueue(0);
    Sound().Reset();
    {
      std::unique_lock<std::mutex> hold(g_lock);
      g_queueChanged.wait_for(hold, kResetReports, [] { return g_queued <= 0; });
      ReclaimBlocks(true);
    }
    Sound().Close();
    g_deviceOpen = false;
  }
  g_lockReady = false;
  g_queued = 0;
  return 0;
}

void CancelWaveWrites(bool cancel) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_cancelled = cancel;
  g_queueChanged.notify_all();
}

int32_t WaveQueued() { return g_queued; }
