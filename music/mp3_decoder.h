// The MP3 decoder: one Mp3Decoder per stream, and the four calls that play a track through it.
//
//   Mp3Decoder decoder;  // every byte of one stream's decoding state: about 65 KB, so not on a small stack
//   if (TrackOpen(decoder, path)) {
//     while (TrackPlayFrame(decoder, sink) == TrackStatus::Playing) {}
//     TrackClose(decoder, sink);
//   }
// or DecodeTrack(decoder, path, sink) for all of that. A decoder serves one thread at a time and may
// play one track after another; decoders on different threads share nothing but the tables, which are
// built once per process and only read. Only TrackOpen allocates (the file's bytes): the buffers are
// members sized by the format's limits.
#pragma once

#include <cstdint>

#include "music/bitstream.h"
#include "music/layer3.h"
#include "music/pcm_output.h"
#include "music/synthesis.h"

struct Mp3Decoder {
  Mp3Stream stream;  // the file, the header history, the frame buffers with the reservoir, the bit reader
  FrameHeader header = {};
  SideInfo side = {};
  int32_t scalefac[kMaxChannels][kScaleFactorCount] = {};
  int32_t previousChannels = 2;
  alignas(64) float spectra[kMaxChannels][kGranuleLines] = {};
  alignas(64) float slots[kMaxChannels][kSubbands * kGranuleSlots] = {};
  SynthState synth;
  PcmBuffer pcm = {};
  OutputSink* sink = nullptr;  // set by the first frame
  int32_t frames = 0;
  int32_t clipped = 0;
  int32_t rate = 0;  // 0 until the first frame
};

enum class TrackStatus {
  Playing,     // a frame was played (possibly as silence, for a bad granule)
  Ended,       // no further frame
  Unplayable,  // a window-switched granule with block_type 0: the player ends the process with code 1
};

struct TrackSummary {
  bool opened;
  int32_t frames;
  int32_t clipped;
  int32_t rate;  // 0 when no frame was found
  TrackStatus end;
};

// Loads the whole file and sets the decoder to a track's start; false when the file cannot be read.
bool TrackOpen(Mp3Decoder& decoder, const char* path);
// Reads and plays the next frame; the first frame starts the sink at the stream's rate.
TrackStatus TrackPlayFrame(Mp3Decoder& decoder, OutputSink& sink);
// Releases the file data, flushes the PCM still in the buffer and ends the sink's track.
void TrackClose(Mp3Decoder& decoder, OutputSink& sink);
// The three above for a whole track.
TrackSummary DecodeTrack(Mp3Decoder& decoder, const char* path, OutputSink& sink);
