// The PCM buffer's flush to the output sink.
#include "music/pcm_output.h"

void FlushOutput(PcmBuffer& pcm, OutputSink* sink) {
  if (pcm.position != 0 && sink) sink->Write(pcm.samples, pcm.position);
  pcm.position = 0;
}
