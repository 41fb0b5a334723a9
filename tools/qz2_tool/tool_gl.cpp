// qz2-tool's pictures on Linux: the OpenGL back end, or the shader one, drawing off screen.
#include "core/error.h"
#include "platform/egl/offscreen_gl.h"
#include "render/backends.h"
#include "render/gl/gl_renderer.h"
#include "render/gles/gles_renderer.h"
#include "tools/qz2_tool/tool.h"

namespace {

void FailUnlessOpen(Renderer* renderer) {
  if (!renderer || !renderer->Init(kPictureWidth, kPictureHeight, 32, 16, false, nullptr, true)) {
    ReportError("Init Failure", true);
  }
}

// Both read an area of the drawable as RGB rows, top row first.
template <typename Back>
bool ReadPictureOf(Back& renderer, std::vector<uint8_t>& rgb) {
  const PixelRect picture = renderer.Picture();
  if (picture.width != kPictureWidth || picture.height != kPictureHeight) return false;
  rgb.resize(static_cast<size_t>(kPictureWidth) * kPictureHeight * 3);
  renderer.ReadPixels(picture, rgb.data());
  return true;
}

}  // namespace

GLRenderer* OpenOffscreenRenderer(int32_t width, int32_t height) {
  OffscreenGl_SetSize(width, height);
  SetRendererMaker(RendererGL, NewGLRenderer);
  auto* renderer = static_cast<GLRenderer*>(CreateRenderer(RendererGL));
  FailUnlessOpen(renderer);
  return renderer;
}

// A drawable of the picture's own size, so that the picture fills it.
Renderer* OpenPictureRenderer(int32_t kind) {
  if (kind != RendererGLES) return OpenOffscreenRenderer(kPictureWidth, kPictureHeight);
  OffscreenGl_SetSize(kPictureWidth, kPictureHeight);
  SetRendererMaker(RendererGLES, NewGLESRenderer);
  Renderer* renderer = CreateRenderer(RendererGLES);
  FailUnlessOpen(renderer);
  return renderer;
}

bool ReadPicture(Renderer& renderer, std::vector<uint8_t>& rgb) {
  if (CurrentRendererKind == RendererGLES) return ReadPictureOf(static_cast<GLESRenderer&>(renderer), rgb);
  return ReadPictureOf(static_cast<GLRenderer&>(renderer), rgb);
}
