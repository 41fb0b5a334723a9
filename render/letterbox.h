// Where the 4:3 picture lies in a drawable of any size, and where a View's rectangle lies in it.
#pragma once

#include <cstdint>

#include "render/renderer.h"

// A rectangle of drawable pixels, top row 0.
struct PixelRect {
  int32_t x, y, width, height;
};

// The device samples a pixel at its top-left corner, GL at its centre, so 3D and 2D pictures move right and down
// by about half a pixel to be sampled where the device samples them. Just under half: an edge then never falls on
// a GL pixel centre, and the pixels an edge keeps are those of the device's top-left rule, whichever way GL's rows
// run.
constexpr float kDeviceSampleShift = 0.5f - 1.0f / 128.0f;

// The Direct3D 7 projection of the view's camera (depth 0 at the near plane, 1 at the far one, the View's aspect
// applied), rewritten for GL's clip depth of -1 to 1 so that the same depths and near clipping result
// (z' = 2 z_d3d - w), and moved by kDeviceSampleShift in a viewport of the given pixels (not when one is 0).
void GlProjection(const View& view, const int32_t (&viewportPixels)[2], float (&m)[16]);

// The largest rectangle of the picture's aspect centred in the drawable.
PixelRect Letterbox(int32_t drawableWidth, int32_t drawableHeight, int32_t pictureWidth, int32_t pictureHeight);

// The viewport's rectangle, given in picture pixels, scaled into the picture's place in the drawable; edges are
// rounded so that neighbouring viewports share them.
PixelRect ViewportInPicture(PixelRect picture, int32_t pictureWidth, int32_t pictureHeight,
                            const ViewportData& viewport);
