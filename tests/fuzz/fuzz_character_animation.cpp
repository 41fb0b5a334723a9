// Fuzz target: a character animation (.qza) loaded as the driver loads it, every frame posed into its bones.
#include <cstddef>
#include <cstdint>

#include "overlay/character.h"
#include "platform/fake/fake_platform.h"
#include "tests/fuzz/fuzz_scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ScratchFile file(".qza");
  if (!file.Write(data, size)) return 0;
  ScopedFakePlatform sys;
  BoneAnimation animation;
  try {
    animation.Load(file.Path());
  } catch (const FakeExit&) {
    return 0;  // "Wrong ANI File": the program would end here
  }
  BoneSet bones;
  bones.Create(animation.boneCount);
  // Every frame, and the first one past the end.
  for (uint32_t f = 0; f <= animation.frameCount; ++f) animation.PoseBones(bones, f);
  // A set with fewer bones than the animation takes only the bones it has.
  BoneSet fewer;
  fewer.Create(animation.boneCount / 2);
  animation.PoseBones(fewer, 0);
  fewer.Release();
  bones.Release();
  animation.Release();
  return 0;
}
