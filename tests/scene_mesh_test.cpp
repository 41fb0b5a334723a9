// Mesh objects: the transform, the visibility boundary, drawing and destruction.
#include "scene/camera.h"
#include "scene/mesh.h"
#include "scene/scene_file.h"
#include "scene/view.h"
#include "tests/scene_fixture.h"

namespace {

class Mesh : public SceneTest {
 protected:
  // Loads one mesh object of two patches, each of one vertex.
  MeshObject* Load(float x, float y, float z) {
    Qz3Writer w;
    std::vector<uint16_t> indices(3, 0);
    Qz3PatchData patch = LitPatch(kQz3NoIndex, {{{x, y, z}, {0, 0, 1}, 0, 0}}, indices);
    w.MeshObject(MeshRecord("Box", 2), {patch, patch});
    w.End();
    LoadScene(Save(w).c_str(), &world);
    return world.meshes;
  }
};

TEST_F(Mesh, UpdateScalesThenRotatesThenMoves) {
  MeshObject* mesh = Load(1, 0, 0);
  mesh->SetScale(2, 1, 1);
  mesh->SetRotation(AxisAngleToQuaternion({0, 0, 1}, 1.5707964f));
  mesh->SetPosition(10, 0, 0);
  mesh->UpdateTransform();
  const float* m = mesh->worldMatrix;
  // (1, 0, 0) scaled to (2, 0, 0), turned to (0, 2, 0), moved to (10, 2, 0).
  EXPECT_NEAR(m[0] + m[12], 10.0f, 1e-5f);
  EXPECT_NEAR(m[1] + m[13], 2.0f, 1e-5f);
  EXPECT_EQ(mesh->flags, uint32_t{MeshQuaternionMode});
}

TEST_F(Mesh, VisibleUpToFarPlusTheDiameter) {
  MeshObject* mesh = Load(3, 4, 0);  // radius 5
  auto* camera = new Camera("Cam", 1, 1, &world);
  View view("View1", 0, 0, 1.0f, 800.0f, 600.0f, 500.0f, 1, &world);
  view.SetCamera(camera);
  mesh->position = {510, 0, 0};
  EXPECT_EQ(mesh->Visible(&view), 2u);
  mesh->position = {510.01f, 0, 0};
  EXPECT_EQ(mesh->Visible(&view), 0u);
  mesh->scale = {100, 100, 100};
  EXPECT_EQ(mesh->Visible(&view), 0u) << "the scale is not looked at";
  view.Destroy();
}

TEST_F(Mesh, DrawSetsTheMatrixOnceAndEachPatchInOrderAndDestroyReleasesThemAll) {
  MeshObject* mesh = Load(1, 0, 0);
  mesh->UpdateTransform();
  renderer.calls.clear();
  mesh->Draw(2);
  std::vector<std::string> expected = {"SetWorldMatrix(0, 0, 0)", "SetClipping(2)", "SetMaterial(null)",
                                       "DrawPatch(ptr)",          "SetClipping(2)", "SetMaterial(null)",
                                       "DrawPatch(ptr)"};
  EXPECT_EQ(renderer.calls, expected);
  EXPECT_EQ(mesh->worldMatrix[15], 1.0f);
  mesh->Destroy();
  EXPECT_EQ(renderer.CallsTo("ReleasePatch").size(), 2u);
  EXPECT_EQ(world.meshes, nullptr);
  delete mesh;
}

}  // namespace
