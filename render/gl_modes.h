// The GL drawing mode of each PrimitiveKind: the same numbers in OpenGL and OpenGL ES.
#pragma once

#include <cstdint>

#include "render/renderer.h"

// Points, lines, line strip, triangles, triangle strip, triangle fan; kind 0 comes from no caller.
inline bool GlPrimitiveMode(PrimitiveKind kind, uint32_t* mode) {
  constexpr uint32_t kModes[] = {0x0000, 0x0000, 0x0001, 0x0003, 0x0004, 0x0005, 0x0006};
  if (kind < 0 || kind > PrimitiveTriangleFan) return false;
  *mode = kModes[kind];
  return true;
}
