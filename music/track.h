// One track's decode path, shared by the player's thread and qz2-tool: open the file, play it frame by
// frame into an output sink, close.
#pragma once

#include <cstdint>

#include "music/pcm_output.h"

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

// Builds the tables and loads the whole file; false when it cannot be read.
bool TrackOpen(const char* path);
// Reads and plays the next frame; the first frame starts the sink at the stream's rate.
TrackStatus TrackPlayFrame(OutputSink& sink);
// Releases the file data, flushes the PCM still in the buffer and ends the sink's track.
void TrackClose(OutputSink& sink);
// The three above for a whole track.
TrackSummary DecodeTrack(const char* path, OutputSink& sink);
