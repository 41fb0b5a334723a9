// The Direct3D 7 back end as the program and the tools make it, with no platform type in sight.
#pragma once

#include <cstdint>

class Renderer;

// The back end the Windows program registers for RendererD3D7.
Renderer* NewD3D7Renderer();

// Reads the frame being drawn (before Present) as RGB rows, top row first; false when the back buffer is not
// width x height or cannot be read.
bool ReadD3D7BackBuffer(Renderer& renderer, int32_t width, int32_t height, uint8_t* rgb);
