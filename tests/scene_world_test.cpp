// The World: records and the renderer protocol, list order, destruction, and the frame's animation walk.
#include <cmath>
#include <cstring>

#include "core/allocate.h"
#include "scene/camera.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "scene/move.h"
#include "scene/texture.h"
#include "scene/view.h"
#include "tests/scene_fixture.h"
#include "tools/content/bmp_writer.h"

namespace {

using SceneWorld = SceneTest;

// A one-vertex mesh at the given position with the unit radius.
MeshObject* Mesh(World* world, const char* name, Vec3 at) {
  auto* mesh = new MeshObject(name, world);
  mesh->position = at;
  mesh->rotation = {1, 0, 0, 0};
  static PatchVertexLit corner = {{1, 0, 0}, {0, 0, 1}, 0, 0};
  mesh->patches = static_cast<Patch*>(Allocate(sizeof(Patch), "Patch"));
  void* vertices = Allocate(sizeof corner, "PatchVert");
  std::memcpy(vertices, &corner, sizeof corner);
  auto* indices = static_cast<uint16_t*>(Allocate(3 * sizeof(uint16_t), "PatchIndex"));
  indices[0] = indices[1] = indices[2] = 0;
  mesh->patches[0] = Patch{PatchLit, nullptr, 1, 3, vertices, indices, {0, 0}};
  mesh->patchCount = 1;
  mesh->ComputeBounds();
  return mesh;
}

// A target-camera track whose keys move along x by one unit a key.
Move* CameraTrack(World* world, uint32_t frames, uint32_t step, float fps) {
  auto* move = new Move("@Cam", ElementMove, world);
  move->subtype = CameraTrackTarget;
  move->frames = frames;
  move->step = step;
  move->fps = fps;
  move->keyCount = frames / step + 1;
  move->duration = (static_cast<float>(frames) - 1.0f) / fps;
  move->targCamKeys = static_cast<TargCamKey*>(Allocate(sizeof(TargCamKey) * move->keyCount, "MovePtrTargCam"));
  for (uint32_t k = 0; k < move->keyCount; ++k) {
    move->targCamKeys[k] = {{static_cast<float>(k), -10, 0}, 0, {static_cast<float>(k), 0, 0}, 0, 1.0f, 0.0f};
  }
  return move;
}

View* ShowCamera(World& world, Camera* camera) {
  auto* view = new View("View1", 0, 0, 1.0f, 800.0f, 600.0f, 500.0f, 1, &world);
  view->SetCamera(camera);
  world.SetView(view);
  return view;
}

TEST_F(SceneWorld, QuaternionCameraTakesItsPositionUnnegated) {
  Camera camera("Cam", 1.0f, 1.0f, &world);
  camera.SetPosition(1, 2, 3);
  camera.SetOrientation({1, 0, 0, 0});
  camera.BuildViewMatrix();
  EXPECT_EQ(camera.viewMatrix[12], 1.0f);
  EXPECT_EQ(camera.viewMatrix[14], 3.0f);
  camera.Destroy();
}

TEST_F(SceneWorld, LookingAlongTheUpVectorStillGivesAnOrthonormalView) {
  struct Case {
    const char* what;
    Vec3 up, ahead;
  };
  const Case cases[] = {{"+z", {0, 0, 1}, {0, 0, 5}},
                        {"-z", {0, 0, 1}, {0, 0, -5}},
                        {"+y", {0, 1, 0}, {0, 5, 0}},
                        {"-y", {0, 1, 0}, {0, -5, 0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Camera camera("Cam", 1.0f, 1.0f, &world);
    camera.up = c.up;
    camera.SetPosition(1, 2, 3);
    camera.SetTarget(1 + c.ahead.x, 2 + c.ahead.y, 3 + c.ahead.z);
    camera.BuildViewMatrix();
    const float* m = camera.viewMatrix;
    for (int i = 0; i < 16; ++i) ASSERT_TRUE(std::isfinite(m[i])) << i;
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) EXPECT_NEAR(m[i] * m[j] + m[4 + i] * m[4 + j] + m[8 + i] * m[8 + j], i == j, 1e-6f);
    }
    // The target as the view sees it.
    float seen[3];
    for (int col = 0; col < 3; ++col) {
      seen[col] = m[col] + (2 + c.ahead.y) * m[4 + col] + (3 + c.ahead.z) * m[8 + col] + m[12 + col];
    }
    EXPECT_NEAR(seen[0], 0.0f, 1e-6f);
    EXPECT_NEAR(seen[1], 0.0f, 1e-6f);
    EXPECT_NEAR(seen[2], 5.0f, 1e-6f) << "in front, on the view axis";
    camera.SetTarget(1, 2, 3);
    EXPECT_FLOAT_EQ(camera.direction.y * 5, c.ahead.y) << "a target on the camera keeps the last direction";
    EXPECT_FLOAT_EQ(camera.direction.z * 5, c.ahead.z);
    camera.Destroy();
  }
}

TEST_F(SceneWorld, ListsRunNewestFirstAndUnlinkFromAnyPlace) {
  auto* a = new Light("a", LightOmni, &world);
  auto* b = new Light("b", LightOmni, &world);
  auto* c = new Light("c", LightOmni, &world);
  EXPECT_EQ(world.lights, c);
  EXPECT_EQ(c->next, b);
  b->Destroy();
  delete b;
  EXPECT_EQ(c->next, a);
  EXPECT_EQ(a->prev, c);
  c->Destroy();
  delete c;
  EXPECT_EQ(world.lights, a);
  EXPECT_EQ(a->prev, nullptr);
}

TEST_F(SceneWorld, RecordsTellTheRendererWhenMadeAndWhenChanged) {
  new View("View1", 0, 0, 1, 800, 600, 500, 1, &world);
  auto* light = new Light("Omni", LightOmni, &world);
  light->SetDirection(0, 3, 4);
  EXPECT_FLOAT_EQ(light->direction.z, 0.8f);
  auto* material = new Material("Mat", &world);
  material->SetDiffuse(255, 0, 51, 128);
  EXPECT_EQ(material->diffuse.Word(), 0x80FF0033u);
  material->SetTextureCount(5);
  EXPECT_EQ(material->textureCount, kMaterialStages);
  std::vector<std::string> expected = {"CreateView(ptr)", "CreateLight(ptr)", "UpdateLight(ptr)", "CreateMaterial(ptr)",
                                       "UpdateMaterial(ptr)"};
  EXPECT_EQ(renderer.calls, expected);
}

// Stand-ins for the overlay subsystem's records: the World only links them and hands them back to be freed.
std::vector<std::string>* g_overlayLog;
World* g_overlayWorld;

void DestroyQuad(OverlayQuad*) {
  g_overlayLog->push_back("quad");
  g_overlayWorld->quads = nullptr;
}

void ReleaseOverlaySet(OverlaySet*) {
  g_overlayLog->push_back(g_overlayWorld->moves ? "set before tracks" : "set");
  g_overlayWorld->overlaySets = nullptr;
}

TEST_F(SceneWorld, DestroyEmptiesTheListsInOrderAndReleasesFirst) {
  g_overlayLog = &renderer.calls;
  g_overlayWorld = &world;
  SetOverlayListOps({DestroyQuad, ReleaseOverlaySet});
  int quad = 0, set = 0, glyphs = 0;
  world.quads = reinterpret_cast<OverlayQuad*>(&quad);
  world.overlaySets = reinterpret_cast<OverlaySet*>(&set);
  world.glyphSets = reinterpret_cast<GlyphSet*>(&glyphs);
  auto* material = new Material("Mat", &world);
  new Light("Omni", LightOmni, &world);
  new View("View1", 0, 0, 1, 800, 600, 500, 1, &world);
  new Camera("Cam", 1, 1, &world);
  new Texture("Tex", TextureRenderTarget, 4, 4, 0, nullptr, 0, &world);
  MeshObject* mesh = Mesh(&world, "Box", {0, 0, 0});
  mesh->patches[0].material = material;
  CameraTrack(&world, 10, 1, 10);
  renderer.calls.clear();
  world.Destroy();
  SetOverlayListOps({nullptr, nullptr});
  std::vector<std::string> expected = {"ReleasePatch(ptr)",
                                       "ReleaseView(ptr)",
                                       "ReleaseLight(ptr)",
                                       "ReleaseMaterial(ptr)",
                                       "ReleaseTexture(ptr)",
                                       "quad",
                                       "set"};
  EXPECT_EQ(renderer.calls, expected);
  EXPECT_EQ(world.glyphSets, nullptr) << "forgotten, not destroyed";
  EXPECT_EQ(world.meshes, nullptr);
  EXPECT_EQ(world.moves, nullptr);
  for (IdElm* head : world.registry.buckets) EXPECT_EQ(head, nullptr);
}

TEST_F(SceneWorld, AnimateWorldEndsAtTheCameraTracksDurationOrWithoutOne) {
  auto* camera = new Camera("Cam", 1, 1, &world);
  EXPECT_TRUE(world.AnimateWorld(0.0f)) << "no active view";
  ShowCamera(world, camera);
  EXPECT_TRUE(world.AnimateWorld(0.0f)) << "no track";
  camera->move = CameraTrack(&world, 11, 1, 10.0f);  // duration 1.0 s
  EXPECT_FALSE(world.AnimateWorld(0.95f));
  EXPECT_FLOAT_EQ(camera->position.x, 9.5f);
  renderer.calls.clear();
  EXPECT_TRUE(world.AnimateWorld(1.0f));
  EXPECT_TRUE(renderer.calls.empty()) << "an ended scene is neither animated nor drawn";
  // The key and fraction of a time: (fps / step) x t, split; no key index for a negative position.
  Move* move = CameraTrack(&world, 100, 5, 30.0f);
  EXPECT_EQ(KeyAt(*move, 1.1f).key, 6u);
  EXPECT_NEAR(KeyAt(*move, 1.1f).frac, 0.6f, 1e-5f);
  move->fps = -30.0f;
  EXPECT_EQ(KeyAt(*move, 1.0f).key, 0xFFFFFFFFu);
}

TEST_F(SceneWorld, AFrameAnimatesLightsThenCameraThenDrawsVisibleMeshes) {
  auto* camera = new Camera("Cam", 1, 1, &world);
  camera->move = CameraTrack(&world, 100, 1, 10.0f);
  auto* light = new Light("Omni", LightOmni, &world);
  light->move = new Move("@Omni", ElementMove, &world);
  light->move->keyCount = 1;
  light->move->omniKeys = static_cast<OmniLightKey*>(Allocate(sizeof(OmniLightKey), "MovePtrOmniLight"));
  *light->move->omniKeys = {10, 20, 30, 0, {5, 5, 5}, 0};
  MeshObject* near = Mesh(&world, "Near", {0, 0, 0});
  MeshObject* far = Mesh(&world, "Far", {0, 1000, 0});
  far->SetPosition(0, 1000, 0);
  ShowCamera(world, camera);
  renderer.calls.clear();
  EXPECT_FALSE(world.AnimateWorld(0.0f));
  std::vector<std::string> expected = {"UpdateLight(ptr)",   "UpdateLight(ptr)",        "BeginView(ptr)",
                                       "SetProjection(ptr)", "SetWorldMatrix(0, 0, 0)", "SetClipping(2)",
                                       "SetMaterial(null)",  "DrawPatch(ptr)",          "EndView()"};
  EXPECT_EQ(renderer.calls, expected);
  EXPECT_EQ(light->colour.red, 30);
  EXPECT_EQ(light->position.x, 5.0f);
  EXPECT_EQ(near->flags & MeshChangeMarks, 0u);
  EXPECT_NE(far->flags & MeshPositionChanged, 0u) << "a culled object is not updated";
}

TEST_F(SceneWorld, CulledObjectIsNotAnimatedAndVisibilityUsesTheLastPosition) {
  auto* camera = new Camera("Cam", 1, 1, &world);
  camera->move = CameraTrack(&world, 100, 1, 10.0f);
  MeshObject* mesh = Mesh(&world, "Box", {0, 0, 0});
  mesh->move = new Move("@Box", ElementObjectMove, &world);
  mesh->move->keyCount = 2;
  mesh->move->objKeys = static_cast<ObjKey*>(Allocate(2 * sizeof(ObjKey), "MovePtrObj"));
  mesh->move->objKeys[0] = {{0, 0, 0}, 0, {1, 1, 1}, 0, {1, 0, 0, 0}};
  mesh->move->objKeys[1] = {{0, 2000, 0}, 0, {1, 1, 1}, 0, {1, 0, 0, 0}};
  ShowCamera(world, camera);
  world.AnimateWorld(0.05f);  // key 0, frac 0.5: the object jumps out of reach
  EXPECT_EQ(mesh->position.y, 1000.0f);
  renderer.calls.clear();
  world.AnimateWorld(0.01f);  // the test sees y 1000, beyond far + 2 x radius
  EXPECT_EQ(mesh->position.y, 1000.0f) << "not animated";
  EXPECT_TRUE(renderer.CallsTo("DrawPatch").empty()) << "not drawn";
}

using ImageTexture = SceneTest;

TEST_F(ImageTexture, KeepsItsOwnCopyOfTheNameAndBindsAtItsStage) {
  std::vector<uint8_t> pixels(4 * 2 * 3);
  std::string path = Save(EncodeBmp24(4, 2, pixels.data()), ".bmp");
  std::string name = path;
  auto* texture = new Texture(name.c_str(), 1, 0, &world);
  name.assign(name.size(), 'x');
  EXPECT_EQ(std::string(texture->fileName), path);
  EXPECT_EQ(world.registry.FindByName(path.c_str()), texture) << "registered under its shortened path";
  texture->Bind();
  EXPECT_EQ(renderer.calls.back(), "BindTexture(1, ptr)");
}

}  // namespace
