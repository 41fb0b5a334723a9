// A shared library that is not an extraction library: it lacks the entry points.
#include "start/unrar.h"

extern "C" RAR_EXPORT int NotAnExtractionLibrary() { return 0; }
