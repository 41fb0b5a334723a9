// The picture's place in a window of any size: its aspect kept, black bars around it.
#include "render/letterbox.h"

#include <algorithm>

PixelRect Letterbox(int32_t drawableWidth, int32_t drawableHeight, int32_t pictureWidth, int32_t pictureHeight) {
  if (drawableWidth <= 0 || drawableHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) {
    return {0, 0, std::max(drawableWidth, 0), std::max(drawableHeight, 0)};
  }
  int64_t width = drawableWidth, height = drawableHeight;
  if (int64_t{drawableWidth} * pictureHeight >= int64_t{drawableHeight} * pictureWidth) {
    width = (height * pictureWidth + pictureHeight / 2) / pictureHeight;
  } else {
    height = (width * pictureHeight + pictureWidth / 2) / pictureWidth;
  }
  return {static_cast<int32_t>((drawableWidth - width) / 2), static_cast<int32_t>((drawableHeight - height) / 2),
          static_cast<int32_t>(width), static_cast<int32_t>(height)};
}
