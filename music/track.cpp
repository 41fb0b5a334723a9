// One track's decode path: the frame loop of the player's thread without the thread.
#include "music/track.h"

#include "music/bitstream.h"
#include "music/layer3.h"
#include "music/synthesis.h"

namespace {

FrameHeader g_header;
bool g_outputReady = false;
int32_t g_frames = 0;
int32_t g_clipped = 0;
int32_t g_rate = 0;

}  // namespace

bool TrackOpen(const char* path) {
  g_outputReady = false;
  g_frames = 0;
  g_clipped = 0;
  g_rate = 0;
  Pcm().position = 0;
  MakeSynthTables(kSynthScale);
  InitLayer3Tables(0);
  if (!StreamLoad(path)) return false;
  ClearHeaderHistory();
  return true;
}

TrackStatus TrackPlayFrame(OutputSink& sink) {
  if (!ReadFrame(g_header)) return TrackStatus::Ended;
  // Later major changes keep the first header's frequency, so only the first frame starts the output.
  if (g_header.headerChange == 2 && !g_outputReady) {
    g_header.subbandLimit = kSubbands;
    InitLayer3Tables(g_header.subbandLimit);
    g_rate = kSamplingFrequencies[g_header.samplingIndex];
    SetOutputSink(&sink);
    sink.Begin(g_rate);
    g_outputReady = true;
  }
  const FrameResult result = DecodeLayer3(g_header);
  if (result.status == DecodeStatus::BadBlockType) return TrackStatus::Unplayable;
  ++g_frames;
  g_clipped += result.clipped;
  return TrackStatus::Playing;
}

void TrackClose(OutputSink& sink) {
  StreamRelease();
  if (g_outputReady) FlushOutput();
  SetOutputSink(nullptr);
  sink.End();
}

TrackSummary DecodeTrack(const char* path, OutputSink& sink) {
  TrackSummary summary{TrackOpen(path), 0, 0, 0, TrackStatus::Ended};
  if (!summary.opened) return summary;
  TrackStatus status;
  do {
    status = TrackPlayFrame(sink);
  } while (status == TrackStatus::Playing);
  TrackClose(sink);
  summary.frames = g_frames;
  summary.clipped = g_clipped;
  summary.rate = g_rate;
  summary.end = status;
  return summary;
}
