// An output that takes every block and keeps none: for decoding where only the work counts.
#pragma once

#include "music/pcm_output.h"

class NullSink : public OutputSink {
 public:
  void Begin(int32_t) override {}
  bool Write(const int16_t*, uint32_t) override { return true; }
  void End() override {}
};
