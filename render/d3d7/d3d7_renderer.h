// The Direct3D 7 back end as the program and the tools make it, with no platform type in sight.
#pragma once

#include <cstdint>

class Renderer;

// The back end the Windows program registers for RendererD3D7.
Renderer* NewD3D7Renderer();

// Opens the back end drawing into a back buffer of width x height off screen, bound to no window and to no screen
// size, as Init opens it otherwise (each failure a warning, then false). Present then shows nothing.
bool InitD3D7Offscreen(Renderer& renderer, int32_t width, int32_t height, bool filtering);
// Reads the frame being drawn (before Present) as RGB rows, top row first; false when the back buffer is not
// width x height or cannot be read.
bool ReadD3D7BackBuffer(Renderer& renderer, int32_t width, int32_t height, uint8_t* rgb);
