// Fuzz target: an overlay file loaded into a World as the driver loads it, its images read from a data
// directory holding the font and one picture, then drawn at a few times through the recording renderer.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "overlay/overlays.h"
#include "platform/fake/fake_platform.h"
#include "render/recording_renderer.h"
#include "scene/view.h"
#include "scene/world.h"
#include "tests/fuzz/fuzz_scratch.h"
#include "tools/content/bmp_writer.h"
#include "tools/content/file_writer.h"
#include "tools/content/show_font.h"

namespace {

// "police1.bmp" and "image.bmp", a 64 x 32 picture; false when they could not be written.
bool WriteDataDirectory(const std::filesystem::path& folder) {
  std::error_code failed;
  std::filesystem::create_directories(folder, failed);
  const std::vector<uint8_t> rgb(64 * 32 * 3, 0x80);
  return !failed && WriteBytesFile((folder / "police1.bmp").c_str(), BuildShowFont()) &&
         WriteBytesFile((folder / "image.bmp").c_str(), EncodeBmp24(64, 32, rgb.data()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ScratchFile folder(".data");
  static const bool ready = WriteDataDirectory(folder.Path());
  static const ScratchFile file(".dat");
  if (!ready || !file.Write(data, size)) return 0;
  ScopedFakePlatform sys;
  RecordingRenderer renderer;
  CurrentRenderer = &renderer;
  World world("World1");
  View* view = new View("View1", 0.0f, 0.0f, 1.0f, 800.0f, 600.0f, 500.0f, 1, &world);
  try {
    OverlaySet* set = LoadOverlays("2D", file.Path(), &world, folder.Path());
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
  view->Destroy();
  delete view;
  world.Destroy();
  CurrentRenderer = nullptr;
  CurrentView = nullptr;
  return 0;
}
