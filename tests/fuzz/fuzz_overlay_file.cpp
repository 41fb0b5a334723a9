// Fuzz target: an overlay file loaded into a World as the driver loads it, its images read from a data
// directory holding a font and the show's picture names, then drawn at a few times through the recording renderer.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "overlay/overlays.h"
#include "tests/fuzz/fuzz_world.h"
#include "tests/support.h"
#include "tools/content/bmp_writer.h"
#include "tools/content/show_overlays.h"

namespace {

// A data directory of "police1.bmp" and a picture under each name the show's overlay files use, all small so that
// the many reads a file of many records makes stay quick.
struct DataDirectory : Scratch {
  DataDirectory() {
    const std::vector<uint8_t> grey(72 * 8 * 3, 0x80), indices(16 * 8, 1);
    const std::vector<uint8_t> picture = EncodeBmp8(16, 8, indices.data(), {{0, 0, 0}, {255, 128, 0}});
    Write("police1.bmp", EncodeBmp24(72, 8, grey.data()));
    for (const ShowImage& image : BuildShowOverlayImages()) Write(image.name, picture);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const DataDirectory folder;
  const std::string file = folder.Write("over.dat", data, size);
  ScopedFakePlatform sys;
  FuzzWorld fuzz;
  RecordingRenderer& renderer = fuzz.renderer;
  World& world = fuzz.world;
  View* view = fuzz.view;
  try {
    OverlaySet* set = LoadOverlays("2D", file.c_str(), &world, folder.Path().string().c_str());
    // Before, inside and far past any element, and times that are no number at all.
    for (float t : {-1.0f, 0.0f, 0.5f, 3.0f, 1e30f, INFINITY, NAN}) {
      renderer.Begin2D(view);
      DrawOverlays(set, t);
      renderer.End2D();
      renderer.calls.clear();
    }
  } catch (const FakeExit&) {
    // An image that cannot be read ends the program; the World frees what was loaded.
  }
  return 0;
}
