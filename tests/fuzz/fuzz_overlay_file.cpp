// Fuzz target: an overlay file loaded into a World as the driver loads it and drawn at a few times.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "overlay/overlays.h"
#include "platform/fake/fake_platform.h"
#include "render/recording_renderer.h"
#include "scene/texture.h"
#include "scene/view.h"
#include "scene/world.h"
#include "tests/fuzz/fuzz_scratch.h"

namespace {

// Every image the file names loads as a 64 x 32 picture, whatever the name: the records are what is fuzzed,
// and the bitmap reader has a target of its own.
class SizedTextures : public RecordingRenderer {
 public:
  void LoadTexture(Texture* texture) override {
    texture->scaleU = texture->scaleV = 1.0f;
    texture->width = 64;
    texture->height = 32;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ScratchFile file(".dat");
  if (!file.Write(data, size)) return 0;
  ScopedFakePlatform sys;
  SizedTextures renderer;
  CurrentRenderer = &renderer;
  World world("World1");
  View* view = new View("View1", 0.0f, 0.0f, 1.0f, 800.0f, 600.0f, 500.0f, 1, &world);
  OverlaySet* set = LoadOverlays("2D", file.Path(), &world, "data");
  // Before, inside and far past any element, and times that are no number at all.
  for (float t : {-1.0f, 0.0f, 0.5f, 3.0f, 1e30f, INFINITY, NAN}) {
    renderer.Begin2D(view);
    DrawOverlays(set, t);
    renderer.End2D();
    renderer.calls.clear();
  }
  ReleaseOverlays(set);
  view->Destroy();
  delete view;
  world.Destroy();
  CurrentRenderer = nullptr;
  return 0;
}
