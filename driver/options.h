// The viewer's options on the command line; without any, the show plays exactly as it always does.
#pragma once

#include <cstdint>

struct ShowOptions {
  bool windowed = false;  // an 800 x 600 resizable window instead of full screen
  int firstScene = 0;     // index 0 to 8 of the scene the show starts at
  int32_t renderer = 0;   // the RendererKind asked for, 0 for the platform's own
  float still = -1.0f;    // seconds: the first scene's frame at that time held, without music; negative: none
};

enum class OptionsResult { Play, Help, Refused };

// Reads argv[1] onwards; on Refused, error holds one line saying why.
OptionsResult ParseShowOptions(int argc, const char* const* argv, ShowOptions& options, char* error,
                               unsigned errorSize);

// The RendererKind of a back end this build offers, by the name --renderer takes; 0 for any other name.
int32_t RendererByName(const char* name);

// The keys and the options, for --help and after a refused option.
extern const char* const kShowHelpText;
