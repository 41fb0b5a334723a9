// Benchmark of the decoder's per-frame work: Layer III decoding and synthesis into the PCM buffer.
//
// Run with QZ2_BENCH_MP3 naming an MP3 file; the frames are played in a loop, the file reopened at its end.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "music/mp3_decoder.h"
#include "tests/null_sink.h"

namespace {

// Each synthesis path the processor runs, by its SynthPath number.
void DecodeFrame(benchmark::State& state) {
  const SynthPath path = SynthPath(state.range(0));
  const char* file = std::getenv("QZ2_BENCH_MP3");
  NullSink sink;
  Mp3Decoder decoder;
  if (!SynthPathSupported(path)) {
    state.SkipWithError("the processor lacks this synthesis path");
    return;
  }
  if (!file || !TrackOpen(decoder, file) || TrackPlayFrame(decoder, sink) != TrackStatus::Playing) {
    state.SkipWithError("set QZ2_BENCH_MP3 to a playable MP3 file");
    return;
  }
  decoder.synth.path = path;
  for (auto _ : state) {
    if (TrackPlayFrame(decoder, sink) != TrackStatus::Playing) {
      state.PauseTiming();
      TrackClose(decoder, sink);
      TrackOpen(decoder, file);
      decoder.synth.path = path;
      state.ResumeTiming();
    }
  }
  TrackClose(decoder, sink);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DecodeFrame)->DenseRange(int(SynthPath::Plain), int(SynthPath::Avx2));

}  // namespace

BENCHMARK_MAIN();
