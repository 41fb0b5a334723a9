// The OpenGL context of the main window, made through SDL.
//
// The context is current on the main thread for its whole life. Sizes are the drawable's in
// pixels, which a high-DPI screen makes larger than the window's size in screen units.
#pragma once

#include <cstdint>

struct GlContext;

enum class GlProfile {
  Compatibility,  // fixed-function OpenGL
  Es3,            // OpenGL ES 3.0
};

// Asks for a double-buffered RGBA pixel format with a depth buffer and a context of the profile. Called before the
// window is made, since some systems fix a window's pixel format when they create it.
void GlContext_PrepareWindow(GlProfile profile);
// Creates the context of the profile last prepared on the window and makes it current; null on failure.
GlContext* GlContext_Create(void* window);
void GlContext_DrawableSize(GlContext* context, int32_t* width, int32_t* height);
void GlContext_Swap(GlContext* context);
// Releases the context; the window stays.
void GlContext_Destroy(GlContext* context);
