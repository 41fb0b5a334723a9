// The letterboxed picture and the viewports scaled into it, shared by the GL back ends.
#include "render/letterbox.h"

#include <algorithm>
#include <cmath>

#include "scene/camera.h"
#include "scene/view.h"

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

PixelRect ViewportInPicture(PixelRect picture, int32_t pictureWidth, int32_t pictureHeight,
                            const ViewportData& viewport) {
  if (pictureWidth <= 0 || pictureHeight <= 0) return picture;
  double sx = static_cast<double>(picture.width) / pictureWidth;
  double sy = static_cast<double>(picture.height) / pictureHeight;
  auto edge = [](int32_t origin, double scale, double value) {
    return origin + static_cast<int32_t>(std::lround(value * scale));
  };
  int32_t left = edge(picture.x, sx, viewport.x);
  int32_t right = edge(picture.x, sx, static_cast<double>(viewport.x) + viewport.width);
  int32_t top = edge(picture.y, sy, viewport.y);
  int32_t bottom = edge(picture.y, sy, static_cast<double>(viewport.y) + viewport.height);
  return {left, top, right - left, bottom - top};
}

void GlProjection(const View& view, const int32_t (&viewportPixels)[2], float (&m)[16]) {
  const Camera& camera = *view.camera;
  const float q = view.farPlane / (view.farPlane - view.nearPlane);
  std::fill(m, m + 16, 0.0f);
  m[0] = -camera.xScale;
  m[5] = camera.yScale * view.aspect;
  m[10] = 2.0f * q - 1.0f;
  m[11] = 1.0f;
  m[14] = -2.0f * q * view.nearPlane;
  if (viewportPixels[0] > 0 && viewportPixels[1] > 0) {
    m[8] += 2.0f * kDeviceSampleShift / static_cast<float>(viewportPixels[0]);
    m[9] -= 2.0f * kDeviceSampleShift / static_cast<float>(viewportPixels[1]);
  }
}
