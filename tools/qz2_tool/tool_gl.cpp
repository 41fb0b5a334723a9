// qz2-tool's pictures on Linux: the OpenGL back end drawing off screen.
#include "core/error.h"
#include "platform/egl/offscreen_gl.h"
#include "render/backends.h"
#include "render/gl/gl_renderer.h"
#include "tools/qz2_tool/tool.h"

GLRenderer* OpenOffscreenRenderer(int32_t width, int32_t height) {
  OffscreenGl_SetSize(width, height);
  SetRendererMaker(RendererGL, NewGLRenderer);
  auto* renderer = static_cast<GLRenderer*>(CreateRenderer(RendererGL));
  if (!renderer || !renderer->Init(kPictureWidth, kPictureHeight, 32, 16, false, nullptr, true)) {
    ReportError("Init Failure", true);
  }
  return renderer;
}

// A drawable of the picture's own size, so that the picture fills it.
Renderer* OpenPictureRenderer() { return OpenOffscreenRenderer(kPictureWidth, kPictureHeight); }

bool ReadPicture(Renderer& renderer, std::vector<uint8_t>& rgb) {
  auto& gl = static_cast<GLRenderer&>(renderer);
  const PixelRect picture = gl.Picture();
  if (picture.width != kPictureWidth || picture.height != kPictureHeight) return false;
  rgb.resize(static_cast<size_t>(kPictureWidth) * kPictureHeight * 3);
  gl.ReadPixels(picture, rgb.data());
  return true;
}
