// One track's decode path through its decoder: the frame loop of the player's thread without the thread.
#include "music/mp3_decoder.h"

bool TrackOpen(Mp3Decoder& decoder, const char* path) {
  decoder.header = FrameHeader{};
  decoder.previousChannels = 2;
  decoder.synth = SynthState{};
  decoder.pcm.position = 0;
  decoder.sink = nullptr;
  decoder.frames = 0;
  decoder.clipped = 0;
  decoder.rate = 0;
  return StreamLoad(decoder.stream, path);
}

TrackStatus TrackPlayFrame(Mp3Decoder& decoder, OutputSink& sink) {
  FrameHeader& header = decoder.header;
  if (!ReadFrame(decoder.stream, header)) return TrackStatus::Ended;
  // Later major changes keep the first header's frequency, so only the first frame starts the output.
  if (header.headerChange == 2 && !decoder.sink) {
    header.subbandLimit = kSubbands;
    decoder.rate = kSamplingFrequencies[header.samplingIndex];
    decoder.sink = &sink;
    sink.Begin(decoder.rate);
  }
  const FrameResult result = DecodeLayer3(decoder);
  if (result.status == DecodeStatus::BadBlockType) return TrackStatus::Unplayable;
  ++decoder.frames;
  decoder.clipped += result.clipped;
  return TrackStatus::Playing;
}

void TrackClose(Mp3Decoder& decoder, OutputSink& sink) {
  StreamRelease(decoder.stream);
  FlushOutput(decoder.pcm, decoder.sink);
  decoder.sink = nullptr;
  sink.End();
}

TrackSummary DecodeTrack(Mp3Decoder& decoder, const char* path, OutputSink& sink) {
  TrackSummary summary{TrackOpen(decoder, path), 0, 0, 0, TrackStatus::Ended};
  if (!summary.opened) return summary;
  TrackStatus status;
  do {
    status = TrackPlayFrame(decoder, sink);
  } while (status == TrackStatus::Playing);
  TrackClose(decoder, sink);
  summary.frames = decoder.frames;
  summary.clipped = decoder.clipped;
  summary.rate = decoder.rate;
  summary.end = status;
  return summary;
}
