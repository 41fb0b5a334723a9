// Benchmarks of the overlays' and the character's per-frame work on the default show's own files.
//
// The files are made in memory by the content builder's code and saved to a scratch folder.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "driver/show_files.h"
#include "overlay/character.h"
#include "overlay/overlays.h"
#include "render/recording_renderer.h"
#include "scene/view.h"
#include "scene/world.h"
#include "tests/support.h"
#include "tools/content/show_character.h"
#include "tools/content/show_font.h"
#include "tools/content/show_overlays.h"
#include "tools/content/show_scenes.h"

namespace {

// The show's files in a folder of this process's own.
class ShowFiles : public Scratch {
 public:
  ShowFiles() {
    Write(kFontFile, BuildShowFont());
    for (const ShowImage& image : BuildShowOverlayImages()) Write(image.name, image.bitmap);
    for (int i = 0; i < kSceneCount; ++i) Write(OverlayName(i), BuildShowOverlays(i));
    Write(kCharacterAnimationFile, BuildShowAnimation());
    Write(kCharacterMeshFile, BuildShowMesh());
  }

  static std::string OverlayName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, kOverlayFileFormat, index + 1);
    return name;
  }
};

const ShowFiles& Files() {
  static const ShowFiles files;
  return files;
}

// Counts the quads instead of logging them.
class QuadCounter : public RecordingRenderer {
 public:
  long quads = 0;
  int32_t Draw2D(PrimitiveKind, ScreenVertex*, uint32_t, Material*) override {
    ++quads;
    return 0;
  }
};

void PoseAndSkin(benchmark::State& state) {
  ScopedFakePlatform sys;
  BoneAnimation animation;
  animation.Load(Files().Path(kCharacterAnimationFile).c_str());
  BoneSet bones;
  bones.Create(animation.boneCount);
  SkinMesh mesh;
  mesh.Load(Files().Path(kCharacterMeshFile).c_str());
  if (animation.frameCount == 0 || !mesh.patch) state.SkipWithError("the show's character did not load");
  uint32_t frame = 0;
  for (auto _ : state) {
    animation.PoseBones(bones, frame++ % animation.frameCount);
    mesh.SkinVertices(bones);
    benchmark::DoNotOptimize(mesh.patch->vertices);
  }
  state.counters["vertices"] = mesh.vertexCount;
  state.counters["bones"] = animation.boneCount;
  mesh.Release();
  bones.Release();
  animation.Release();
}
BENCHMARK(PoseAndSkin);

// The overlay file and time with the most quads on screen, of every file at every tenth of a second.
void DrawBusiestOverlays(benchmark::State& state) {
  ScopedFakePlatform sys;
  QuadCounter renderer;
  CurrentRenderer = &renderer;
  World world("World1");
  View* view = new View("View1", 0, 0, 1.0f, 800.0f, 600.0f, 500.0f, 1, &world);
  OverlaySet* busiest = nullptr;
  int busiestIndex = 0;
  float busiestTime = 0;
  long most = -1;
  for (int i = 0; i < kSceneCount; ++i) {
    OverlaySet* set =
        LoadOverlays("2D", Files().Path(ShowFiles::OverlayName(i)).c_str(), &world, Files().Path().string().c_str());
    for (float t = 0; t < ShowSceneSeconds(i); t += 0.1f) {
      renderer.quads = 0;
      renderer.Begin2D(view);
      DrawOverlays(set, t);
      renderer.End2D();
      if (renderer.quads <= most) continue;
      most = renderer.quads;
      busiest = set;
      busiestIndex = i;
      busiestTime = t;
    }
  }
  renderer.calls.clear();
  renderer.Begin2D(view);
  for (auto _ : state) DrawOverlays(busiest, busiestTime);
  state.counters["quads"] = static_cast<double>(most);
  state.SetLabel(ShowFiles::OverlayName(busiestIndex) + " at " + std::to_string(busiestTime) + " s");
  renderer.End2D();
  world.Destroy();
  CurrentRenderer = nullptr;
}
BENCHMARK(DrawBusiestOverlays);

}  // namespace

BENCHMARK_MAIN();
