// Fuzz support: the character's two files loaded as the driver loads them, then every frame posed and skinned,
// the last drawn through the recording renderer. One file is the fuzzer's, the other a small sound partner.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "overlay/character.h"
#include "render/recording_renderer.h"
#include "tests/support.h"
#include "tools/content/character_writer.h"

// Three bones over four frames, each frame turning and moving them a little further.
inline std::vector<uint8_t> PartnerAnimation() {
  std::vector<PoseRecord> poses;
  for (int f = 0; f < 4; ++f) {
    for (int b = 0; b < 3; ++b) {
      const float a = 0.2f * float(f + b);
      poses.push_back(PoseFromRotation({std::cos(a), 0, 0, std::sin(a)}, {float(b), float(f), 0}));
    }
  }
  return AnimationFileBytes(3, 4, poses);
}

// Two triangles whose vertices follow bones 0 to 2 and one the animation lacks, with one to three influences.
inline std::vector<uint8_t> PartnerMesh() {
  std::vector<SkinVertexRecord> vertices;
  for (uint8_t bone : {0, 1, 2, 200}) vertices.push_back(RigidVertex(bone, {1, float(bone), 0}, {0, 0, 1}, 0, 1));
  vertices[1].influenceCount = 2;
  vertices[1].influences[1] = vertices[2].influences[0];
  vertices[2].influenceCount = 3;
  vertices[2].influences[2] = vertices[3].influences[0];
  return MeshFileBytes(4, 2, vertices, {0, 1, 2, 2, 3, 0});
}

// The partner file, written once.
struct CharacterFiles : Scratch {
  explicit CharacterFiles(bool fuzzedIsMesh) {
    fuzzedIsMesh ? Write("rap.qza", PartnerAnimation()) : Write("rap.qzb", PartnerMesh());
  }
};

// fuzzed is written to the file of that suffix (".qza" or ".qzb"), the partner to the other.
inline int PlayCharacter(const uint8_t* data, size_t size, bool fuzzedIsMesh) {
  static const CharacterFiles files(fuzzedIsMesh);
  files.Write(fuzzedIsMesh ? "rap.qzb" : "rap.qza", data, size);
  ScopedFakePlatform sys;
  RecordingRenderer renderer;
  CurrentRenderer = &renderer;
  BoneAnimation animation;
  SkinMesh mesh;
  try {
    animation.Load(files.Path("rap.qza").c_str());
    mesh.Load(files.Path("rap.qzb").c_str());
  } catch (const FakeExit&) {
    // "Wrong ANI File" or "Wrong Mesh File": the program would end here.
  }
  BoneSet bones;
  bones.Create(animation.boneCount);
  // Frames of no bones are all alike: the first stands for them all.
  const uint32_t frames = animation.boneCount ? animation.frameCount : std::min(animation.frameCount, 1u);
  for (uint32_t f = 0; f < frames; ++f) {
    animation.PoseBones(bones, f);
    mesh.SkinVertices(bones);
  }
  mesh.Draw(0.0f, 0.0f, 7.0f, 1.0f, nullptr);
  bones.Release();
  mesh.Release();
  animation.Release();
  CurrentRenderer = nullptr;
  return 0;
}
