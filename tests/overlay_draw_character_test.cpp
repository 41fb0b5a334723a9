// The skinned character: poses from the animation file, skinning on the processor, the patch handed to the renderer.
#include <string>
#include <vector>

#include "overlay/character.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "tests/scene_fixture.h"
#include "tools/content/character_writer.h"

namespace {

class PatchRenderer : public RecordingRenderer {
 public:
  PatchData drawn = {};
  int32_t DrawPatch(Patch* patch) override {
    drawn = *reinterpret_cast<const PatchData*>(patch->rendererWords[0]);
    return RecordingRenderer::DrawPatch(patch);
  }
};

class Character : public WorldFixture<PatchRenderer> {
 protected:
  ~Character() override {
    mesh.Release();
    bones.Release();
    animation.Release();
  }

  Vec3 Position(uint32_t i) const { return static_cast<const PatchVertexLit*>(mesh.patch->vertices)[i].position; }
  Vec3 Normal(uint32_t i) const { return static_cast<const PatchVertexLit*>(mesh.patch->vertices)[i].normal; }

  BoneAnimation animation;
  BoneSet bones;
  SkinMesh mesh;
};

void ExpectNear(Vec3 a, Vec3 b, const char* what) {
  EXPECT_NEAR(a.x, b.x, 1e-5) << what;
  EXPECT_NEAR(a.y, b.y, 1e-5) << what;
  EXPECT_NEAR(a.z, b.z, 1e-5) << what;
}

TEST_F(Character, PoseTakesEachBonesRecordOfTheFrameInItsFixedPointUnscaled) {
  // Two bones, three frames: record r moves by r along x, the last (bone 1 of frame 2) has w = 127 alone.
  std::vector<PoseRecord> poses;
  for (int16_t r = 0; r < 5; ++r) poses.push_back({static_cast<int16_t>(256 * r), 0, 0, 0, 0, 0, 0});
  poses.push_back({5 * 256, -512, 128, 0, 0, 0, 127});
  animation.Load(Save(AnimationFileBytes(2, 3, poses)).c_str());
  bones.Create(animation.boneCount);
  for (uint32_t frame = 0; frame < 3; ++frame) {
    animation.PoseBones(bones, frame);
    for (uint32_t bone = 0; bone < 2; ++bone) EXPECT_EQ(bones.matrices[bone][12], frame * 2 + bone) << frame << bone;
  }
  const float d = (127.0f / 128) * (127.0f / 128);
  const float expected[16] = {d, 0, 0, 0, 0, d, 0, 0, 0, 0, d, 0, 5, -2, 0.5f, 1};
  for (int i = 0; i < 15; ++i) EXPECT_FLOAT_EQ(bones.matrices[1][i], expected[i]) << i;
}

TEST_F(Character, SkinningWeighsEachUsedInfluenceThroughItsBone) {
  auto vertex = [](uint8_t count, std::initializer_list<SkinInfluence> influences) {
    SkinVertexRecord v = RigidVertex(0, {0, 0, 0}, {1, 0, 0}, 0.25f, 0.75f);
    std::copy(influences.begin(), influences.end(), v.influences);
    v.influenceCount = count;
    return v;
  };
  std::vector<SkinVertexRecord> vertices = {
      vertex(1, {{1, 0, 0, 1, 0, {}}}),                                            // rigid on bone 0
      vertex(2, {{1, 0, 0, 0.5f, 0, {}}, {0, 0, 0, 0.5f, 1, {}}}),                 // half and half
      vertex(0, {{1, 1, 1, 1, 1, {}}, {5, 5, 5, 1, 0, {}}}),                       // count 0: influence 0
      vertex(1, {{1, 1, 1, 1, 1, {}}, {5, 5, 5, 1, 0, {}}}),                       // count 1: the same
      vertex(7, {{0, 0, 0, 1, 1, {}}, {0, 0, 0, 1, 1, {}}, {0, 0, 0, 1, 1, {}}}),  // three at most
      vertex(1, {{1, 2, 3, 1, 9, {}}}),                                            // a bone the set lacks
  };
  mesh.Load(Save(MeshFileBytes(6, 1, vertices, {0, 1, 2})).c_str());
  ASSERT_NE(mesh.patch, nullptr);
  // Bone 0 turns a quarter about z (x to y) and moves by (1, 2, 3); bone 1 only moves by (10, 0, 0).
  bones.Create(2);
  float* b0 = bones.matrices[0];
  b0[0] = 0, b0[1] = 1, b0[4] = -1, b0[5] = 0, b0[12] = 1, b0[13] = 2, b0[14] = 3;
  bones.matrices[1][12] = 10;
  mesh.SkinVertices(bones);
  ExpectNear(Position(0), {1, 3, 3}, "rigid");
  ExpectNear(Position(1), {5.5f, 1.5f, 1.5f}, "midpoint");
  ExpectNear(Position(2), {11, 1, 1}, "count 0");
  ExpectNear(Position(3), {11, 1, 1}, "count 1");
  ExpectNear(Position(4), {30, 0, 0}, "count 7");
  ExpectNear(Position(5), {1, 2, 3}, "unposed bone");
  ExpectNear(Normal(0), {0, 1, 0}, "normal turned by bone 0");
  ExpectNear(Normal(1), {0, 1, 0}, "normal of influence 0 alone, unweighted");
  ExpectNear(Normal(2), {1, 0, 0}, "normal not moved by bone 1");
}

TEST_F(Character, DrawHandsTheRendererTheMeshAsAReadyPatch) {
  const std::vector<SkinVertexRecord> vertices(3, RigidVertex(0, {}, {0, 0, 1}, 0.25f, 0.75f));
  mesh.Load(Save(MeshFileBytes(3, 1, vertices, {2, 1, 0})).c_str());
  Material* material = new Material("MatMotion", &world);
  mesh.Draw(0, 0, 7, 1, material);
  ASSERT_EQ(renderer.CallsTo("DrawPatch").size(), 1u);
  EXPECT_EQ(renderer.CallsTo("SetWorldMatrix").back(), "SetWorldMatrix(0, 0, 7)");
  EXPECT_EQ(renderer.drawn.vertexFormat, 274u);
  EXPECT_EQ(renderer.drawn.stride, 32u);
  EXPECT_EQ(renderer.drawn.vertexCount, 3u);
  EXPECT_EQ(renderer.drawn.indexCount, 3u);
  EXPECT_EQ(renderer.drawn.indices[0], 2);
  const auto* v = static_cast<const PatchVertexLit*>(renderer.drawn.vertices);
  EXPECT_EQ(v[1].u, 0.25f);
  EXPECT_EQ(v[1].v, 0.75f);
  EXPECT_EQ(v[1].normal.z, 1.0f) << "copied at load";
}

TEST_F(Character, FilesThatCannotBeReadWholeLoadEmptyAndDrawNothing) {
  std::vector<SkinVertexRecord> two(2, RigidVertex(0, {}, {}, 0, 0));
  std::vector<uint8_t> shortAnimation = AnimationFileBytes(1, 2, {{}});
  std::vector<uint8_t> shortMesh = MeshFileBytes(2, 1, two, {0, 1});
  std::vector<uint8_t> farIndex = MeshFileBytes(2, 1, two, {0, 1, 2});
  struct Case {
    const char* what;
    std::vector<uint8_t> animation, mesh;
  } cases[] = {{"truncated", shortAnimation, shortMesh},
               {"no frames, vertex past the mesh", AnimationFileBytes(3, 0, {}), farIndex},
               {"headers cut", {kAnimationMagic, 1}, {kMeshMagic, 0, 0}}};
  for (const Case& c : cases) {
    animation.Load(Save(c.animation).c_str());
    mesh.Load(Save(c.mesh).c_str());
    EXPECT_EQ(animation.frameCount, 0u) << c.what;
    EXPECT_EQ(mesh.patch, nullptr) << c.what;
    bones.Create(animation.boneCount);
    animation.PoseBones(bones, 0);
    mesh.SkinVertices(bones);
    mesh.Draw(0, 0, 7, 1, nullptr);
    bones.Release();
  }
  animation.Load("/nonexistent/rap.qza");
  mesh.Load("/nonexistent/rap.qzb");
  EXPECT_EQ(animation.boneCount, 0u);
  EXPECT_EQ(mesh.vertexCount, 0u);
  EXPECT_TRUE(renderer.CallsTo("DrawPatch").empty());
  EXPECT_TRUE(sys->boxes.empty());
}

TEST_F(Character, WrongMagicIsFatal) {
  std::vector<uint8_t> animationBytes = AnimationFileBytes(0, 0, {});
  animationBytes[0] = 0x66;
  EXPECT_EQ(FatalText([&] { animation.Load(Save(animationBytes).c_str()); }), "Wrong ANI File");
  std::vector<uint8_t> meshBytes = MeshFileBytes(0, 0, {}, {});
  meshBytes[0] = 0x65;
  EXPECT_EQ(FatalText([&] { mesh.Load(Save(meshBytes).c_str()); }), "Wrong Mesh File");
}

}  // namespace
