// Fuzz target: a skinned mesh (.qzb) loaded as the driver loads it, skinned over a few bones and drawn.
#include <cstddef>
#include <cstdint>

#include "overlay/character.h"
#include "platform/fake/fake_platform.h"
#include "render/recording_renderer.h"
#include "tests/fuzz/fuzz_scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ScratchFile file(".qzb");
  if (!file.Write(data, size)) return 0;
  ScopedFakePlatform sys;
  SkinMesh mesh;
  try {
    mesh.Load(file.Path());
  } catch (const FakeExit&) {
    return 0;  // "Wrong Mesh File": the program would end here
  }
  RecordingRenderer renderer;
  CurrentRenderer = &renderer;
  // Three bones, one turned and moved, so that bone indices past them meet the set's end.
  BoneSet bones;
  bones.Create(3);
  if (bones.count == 3) {
    float* m = bones.matrices[1];
    m[0] = 0, m[1] = 1, m[4] = -1, m[5] = 0, m[12] = 2;
  }
  mesh.SkinVertices(bones);
  mesh.Draw(0.0f, 0.0f, 7.0f, 1.0f, nullptr);
  bones.Release();
  mesh.Release();
  CurrentRenderer = nullptr;
  return 0;
}
