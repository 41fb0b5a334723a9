// The picture's place in a window of any size: its aspect kept, black bars around it. Both back ends show their
// 800 x 600 picture this way.
#pragma once

#include <cstdint>

// A rectangle of drawable pixels, top row 0.
struct PixelRect {
  int32_t x, y, width, height;
};

// The largest rectangle of the picture's aspect centred in the drawable.
PixelRect Letterbox(int32_t drawableWidth, int32_t drawableHeight, int32_t pictureWidth, int32_t pictureHeight);
