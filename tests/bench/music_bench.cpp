// Benchmark of the decoder's per-frame work: Layer III decoding and synthesis into the PCM buffer.
//
// Run with QZ2_BENCH_MP3 naming an MP3 file; the frames are played in a loop, the file reopened at its end.
#include <cstdlib>

#include <benchmark/benchmark.h>

#include "music/track.h"

namespace {

class NullSink : public OutputSink {
 public:
  void Begin(int32_t) override {}
  bool Write(const int16_t*, uint32_t) override { return true; }
  void End() override {}
};

void DecodeFrame(benchmark::State& state) {
  const char* path = std::getenv("QZ2_BENCH_MP3");
  NullSink sink;
  if (!path || !TrackOpen(path) || TrackPlayFrame(sink) != TrackStatus::Playing) {
    state.SkipWithError("set QZ2_BENCH_MP3 to a playable MP3 file");
    return;
  }
  for (auto _ : state) {
    if (TrackPlayFrame(sink) != TrackStatus::Playing) {
      state.PauseTiming();
      TrackClose(sink);
      TrackOpen(path);
      state.ResumeTiming();
    }
  }
  TrackClose(sink);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DecodeFrame);

}  // namespace

BENCHMARK_MAIN();
