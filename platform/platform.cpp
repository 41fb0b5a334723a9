// The process-wide Platform the portable code calls.
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

static Platform* g_platform;

Platform& Sys() {
  if (!g_platform) {
    std::fputs("qz2: no platform set\n", stderr);
    std::abort();
  }
  return *g_platform;
}

void SetPlatform(Platform* platform) { g_platform = platform; }
