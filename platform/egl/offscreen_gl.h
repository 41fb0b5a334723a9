// The OpenGL context of pictures drawn off screen, with no display at all: EGL on Mesa without a window system.
//
// It stands in for the window's context (platform/gl_context.h) in programs that only read their pictures
// back, such as qz2-tool: the drawable is a buffer of the size set here, whatever window the back end asked for.
#pragma once

#include <cstdint>

// The drawable's size in pixels for the next GlContext_Create; 800 x 600 unless set.
void OffscreenGl_SetSize(int32_t width, int32_t height);
