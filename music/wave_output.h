// Streaming PCM blocks to the sound device: format negotiation, the throttled block writer and its
// completion report.
//
// The writer copies each block, queues it and waits while more than kMaxQueuedBlocks are queued; the
// device reports finished blocks on a thread of its own, and both sides share the output lock.
#pragma once

#include <cstdint>

#include "platform/sound_device.h"

struct OutputFormat {
  int32_t rate;      // Hz; -1 unset
  int32_t device;    // always 0
  int32_t channels;  // chosen by the fit; -1 unset
  int32_t format;    // sample format code chosen by the fit; -1 unset
};
constexpr OutputFormat kUnsetOutput{-1, 0, -1, -1};

constexpr int32_t kMaxQueuedBlocks = 6;

// Marks the usable channel count, format and rate combinations; closes a device still open from an
// earlier track once its queued blocks have played.
void ProbeOutputCapabilities(const OutputFormat& output);
// Chooses the output rate, channels and format for a stream; ends the process with code 1 if none fits.
void FitOutputFormat(OutputFormat& output, int32_t streamRate);
// 0 on success or when the rate is unset, -1 when no device could be opened.
int WaveOpen(const OutputFormat& output);
// The length on success, -1 when the block was dropped (refused, no device, or writes cancelled).
int32_t WaveWrite(const int16_t* samples, uint32_t bytes);
// The completion report for one finished block.
void WaveDone(SoundBlock* block);
// Waits until every queued block has played, or writes are cancelled, then resets and closes the device.
// Returns 0.
int WaveClose(const OutputFormat& output);
// While set, a write waiting for a free block gives up at once and drops its samples, and a close stops
// waiting for queued blocks to play.
void CancelWaveWrites(bool cancel);
int32_t WaveQueued();
