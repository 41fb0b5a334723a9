// Where the 4:3 picture lies in a drawable of any size, and where a View's rectangle lies in it.
#pragma once

#include <cstdint>

#include "render/renderer.h"

// A rectangle of drawable pixels, top row 0.
struct PixelRect {
  int32_t x, y, width, height;
};

// The largest rectangle of the picture's aspect centred in the drawable.
PixelRect Letterbox(int32_t drawableWidth, int32_t drawableHeight, int32_t pictureWidth, int32_t pictureHeight);

// The viewport's rectangle, given in picture pixels, scaled into the picture's place in the drawable; edges are
// rounded so that neighbouring viewports share them.
PixelRect ViewportInPicture(PixelRect picture, int32_t pictureWidth, int32_t pictureHeight,
                            const ViewportData& viewport);
