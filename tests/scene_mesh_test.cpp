// Mesh objects: transform updates, bounds, the visibility boundary, drawing and destruction.
#include <cmath>

#include "core/allocate.h"
#include "scene/camera.h"
#include "scene/mesh.h"
#include "scene/scene_file.h"
#include "scene/view.h"
#include "tests/scene_fixture.h"

namespace {

class Mesh : public SceneTest {
 protected:
  // Loads one mesh object whose patches hold the given lit vertices.
  MeshObject* Load(std::vector<PatchVertexLit> vertices, Vec3 position = {0, 0, 0}) {
    Qz3Writer w;
    Qz3MeshObject h = MeshRecord("Box", 2);
    h.position = position;
    std::vector<uint16_t> indices(3, 0);
    w.MeshObject(h, {LitPatch(kQz3NoIndex, {vertices.front()}, indices), LitPatch(kQz3NoIndex, vertices, indices)});
    w.End();
    LoadScene(Save(w).c_str(), &world);
    return world.meshes;
  }
};

PatchVertexLit V(float x, float y, float z) { return {{x, y, z}, {0, 0, 1}, 0, 0}; }

TEST_F(Mesh, UpdateScalesThenRotatesThenMoves) {
  MeshObject* mesh = Load({V(1, 0, 0)});
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

TEST_F(Mesh, UpdateRebuildsOnlyWhatWasMarkedChanged) {
  MeshObject* mesh = Load({V(1, 0, 0)}, {5, 6, 7});
  mesh->SetRotation(AxisAngleToQuaternion({0, 0, 1}, 1.5707964f));
  mesh->UpdateTransform();
  EXPECT_EQ(mesh->worldMatrix[13], 6.0f);
  // Unmarked changes are not looked at: a scale change reuses the cached rotation.
  mesh->rotation = {1, 0, 0, 0};
  mesh->position = {0, 0, 0};
  mesh->SetScale(3, 3, 3);
  mesh->UpdateTransform();
  EXPECT_NEAR(mesh->worldMatrix[1], 3.0f, 1e-5f);
  EXPECT_NEAR(mesh->worldMatrix[0], 0.0f, 1e-5f);
  EXPECT_EQ(mesh->worldMatrix[13], 6.0f);
}

TEST_F(Mesh, CubeRadiusIsRootThreeWhereverItStands) {
  MeshObject* mesh = Load({V(-1, -1, -1), V(1, 1, 1), V(1, -1, 1)}, {100, 200, 300});
  EXPECT_FLOAT_EQ(mesh->sphere.radius, std::sqrt(3.0f));
  EXPECT_FLOAT_EQ(mesh->sphere.radiusSquared, 3.0f);
  Vec3 lo, hi;
  mesh->GetBounds(&lo, &hi);
  EXPECT_EQ(lo.x, -1.0f);
  EXPECT_EQ(hi.z, 1.0f);
}

TEST_F(Mesh, VisibleUpToFarPlusTheDiameter) {
  MeshObject* mesh = Load({V(3, 4, 0)});  // radius 5
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
  MeshObject* mesh = Load({V(1, 0, 0)});
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
