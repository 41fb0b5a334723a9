// The back ends a build offers to CreateRenderer, registered by the program at start.
#pragma once

#include <cstdint>

class Renderer;

using RendererMaker = Renderer* (*)();

// Only kinds 1 (Direct3D 7), 3 (OpenGL) and 4 (OpenGL ES) take a maker; others are ignored.
void SetRendererMaker(int32_t kind, RendererMaker maker);
