// Fuzz target: an overlay file loaded into a World as the driver loads it, its images read from a data
// directory holding a font and the show's picture names, then drawn at a few times through the recording renderer.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

#include "overlay/overlays.h"
#include "platform/fake/fake_platform.h"
#include "tests/fuzz/fuzz_scratch.h"
#include "tests/fuzz/fuzz_world.h"
#include "tools/content/bmp_writer.h"
#include "tools/content/file_writer.h"
#include "tools/content/show_overlays.h"

namespace {

// "police1.bmp" and a picture under each name the show's overlay files use, all small so that the many reads
// a file of many records makes stay quick; false when they could not be written.
bool WriteDataDirectory(const std::filesystem::path& folder) {
  std::error_code failed;
  std::filesystem::create_directories(folder, failed);
  const std::vector<uint8_t> grey(72 * 8 * 3, 0x80), indices(16 * 8, 1);
  const std::vector<uint8_t> picture = EncodeBmp8(16, 8, indices.data(), {{0, 0, 0}, {255, 128, 0}});
  bool written = !failed && WriteBytesFile((folder / "police1.bmp").c_str(), EncodeBmp24(72, 8, grey.data()));
  for (const ShowImage& image : BuildShowOverlayImages()) {
    written = written && WriteBytesFile((folder / image.name).c_str(), picture);
  }
  return written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ScratchFile folder(".data");
  static const bool ready = WriteDataDirectory(folder.Path());
  static const ScratchFile file(".dat");
  if (!ready || !file.Write(data, size)) return 0;
  ScopedFakePlatform sys;
  FuzzWorld fuzz;
  RecordingRenderer& renderer = fuzz.renderer;
  World& world = fuzz.world;
  View* view = fuzz.view;
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
  return 0;
}
