// qz2-tool's pictures on Windows: the Direct3D 7 back end drawing off screen into a back buffer of the picture's
// size, whatever the screen's, read back from it.
#include "core/error.h"
#include "render/backends.h"
#include "render/d3d7/d3d7_renderer.h"
#include "render/renderer.h"
#include "tools/qz2_tool/tool.h"

// Direct3D 7 is the only kind this build offers.
Renderer* OpenPictureRenderer(int32_t) {
  SetRendererMaker(RendererD3D7, NewD3D7Renderer);
  Renderer* renderer = CreateRenderer(RendererD3D7);
  if (!renderer || !InitD3D7Offscreen(*renderer, kPictureWidth, kPictureHeight, true)) {
    ReportError("Init Failure", true);
  }
  return renderer;
}

bool ReadPicture(Renderer& renderer, std::vector<uint8_t>& rgb) {
  rgb.resize(static_cast<size_t>(kPictureWidth) * kPictureHeight * 3);
  return ReadD3D7BackBuffer(renderer, kPictureWidth, kPictureHeight, rgb.data());
}
