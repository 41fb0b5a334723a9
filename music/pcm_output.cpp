// The PCM buffer and its flush to the output sink.
#include "music/pcm_output.h"

namespace {

PcmBuffer g_pcm;
OutputSink* g_sink = nullptr;

}  // namespace

PcmBuffer& Pcm() { return g_pcm; }

void SetOutputSink(OutputSink* sink) { g_sink = sink; }

void FlushOutput() {
  if (g_pcm.position != 0 && g_sink) g_sink->Write(g_pcm.samples, g_pcm.position);
  g_pcm.position = 0;
}
