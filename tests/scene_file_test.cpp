// The .qz3 reader: header, chunk dispatch, cross references, messages, and hostile counts.
#include <cmath>
#include <cstring>
#include <functional>

#include "scene/camera.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "scene/move.h"
#include "scene/scene_file.h"
#include "scene/texture.h"
#include "scene/view.h"
#include "tests/scene_fixture.h"

namespace {

using SceneFile = SceneTest;

// One triangle of a unit cube's corners.
Qz3PatchData Triangle(uint32_t materialIndex) {
  return LitPatch(materialIndex, {{{-1, -1, -1}, {0, 0, 1}, 0, 0}, {{1, 1, 1}, {0, 0, 1}, 1, 0}, {{1, -1, 1}, {0, 0, 1}, 1, 1}},
                  {0, 1, 2});
}

std::vector<TargCamKey> TargKeys(size_t n) { return std::vector<TargCamKey>(n, TargCamKey{{0, -10, 0}, 0, {0, 0, 0}, 0, 1, 0}); }

void ExpectFileIndicesReset(const World& world) {
  for (IdElm* head : world.registry.buckets) {
    for (IdElm* e = head; e; e = e->next) EXPECT_EQ(e->fileIndex, -1) << e->name;
  }
}

TEST_F(SceneFile, TheSixteenByteEmptySceneLoads) {
  std::string path = SaveBytes({0x26, 0x42, 0x20, 0x60, 0x2C, 0x01, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0});
  LoadScene(path.c_str(), &world);
  EXPECT_EQ(world.meshes, nullptr);
  EXPECT_EQ(world.materials, nullptr);
  EXPECT_TRUE(sys->boxes.empty());
}

TEST_F(SceneFile, HeaderMessagesNameThePath) {
  Qz3Writer old(299);
  old.End();
  std::string path = Save(old);
  EXPECT_EQ(FatalText([&] { LoadScene(path.c_str(), &world); }), "Wrong version (" + path + ")");
  Qz3Writer alien(300, 0x12345678);
  alien.End();
  path = Save(alien);
  EXPECT_EQ(FatalText([&] { LoadScene(path.c_str(), &world); }), "Wrong file format (" + path + ")");
  EXPECT_EQ(FatalText([&] { LoadScene("/nonexistent/scene1.QZ3", &world); }),
            "Can't open file (/nonexistent/scene1.QZ3)");
  EXPECT_EQ(sys->boxes.back().caption, "QZ Fatal Error");
}

TEST_F(SceneFile, MissingEndChunkIsAnUnexpectedEnd) {
  Qz3Writer w;
  w.Material(MaterialRecord("Mat", 0));
  std::string path = Save(w);
  EXPECT_EQ(FatalText([&] { LoadScene(path.c_str(), &world); }), "Unexpected end of file (" + path + ")");
}

TEST_F(SceneFile, UnknownAndSkippedChunksAreSkippedBySize) {
  Qz3Writer w;
  uint8_t junk[13] = {0xFF, 0xFF, 0xFF, 0xFF};
  for (uint32_t id : {0x01000000u, 0x01050000u, 0x7u, 0x01090000u}) w.Chunk(id, junk, sizeof junk);
  w.Material(MaterialRecord("After", 0));
  w.End();
  LoadScene(Save(w).c_str(), &world);
  ASSERT_NE(world.materials, nullptr);
  EXPECT_STREQ(world.registry.Find(world.materials->id)->name, "After");
  // A skip past the end leaves no header to read.
  Qz3Writer past;
  SceneChunk huge = {0x01000000, 0xFFFFFFF0};
  past.Raw(&huge, sizeof huge);
  past.End();
  std::string path = Save(past);
  EXPECT_EQ(FatalText([&] { LoadScene(path.c_str(), &world); }), "Unexpected end of file (" + path + ")");
}

TEST_F(SceneFile, NothingAfterTheEndChunkIsRead) {
  Qz3Writer w;
  w.End();
  w.Material(MaterialRecord("Late", 0));
  LoadScene(Save(w).c_str(), &world);
  EXPECT_EQ(world.materials, nullptr);
}

TEST_F(SceneFile, MaterialTakesItsFieldsAndAnEarlierTextureByFileIndex) {
  Qz3Writer w;
  w.Texture(TextureRecord("Tex", 4, 2, 1), std::vector<uint8_t>(6, 0x80));
  Qz3Material m = MaterialRecord("Mat", 0, 4);
  m.mode = 2;
  m.fileWord1 = 0xAB;
  m.diffuse = {1, 2, 3, 4};
  m.fileWord2 = 0xCD;
  m.specularLevel = 1000.0f;
  m.shininess = 7.0f;
  w.Material(m);
  w.Material(MaterialRecord("Loose", 1, 9));  // names a texture that is not there
  w.End();
  LoadScene(Save(w).c_str(), &world);
  Material* loose = world.materials;
  Material* mat = loose->next;
  EXPECT_EQ(mat->textureCount, 1u);
  EXPECT_EQ(mat->textures[0], world.textures);
  EXPECT_EQ(mat->mode, 2u);
  EXPECT_EQ(mat->fileWord1, 0xABu);
  EXPECT_EQ(mat->fileWord2, 0xCDu);
  EXPECT_EQ(mat->diffuse.Word(), 0x04030201u);
  EXPECT_EQ(mat->specularLevel, 1000.0f);
  EXPECT_EQ(mat->rendererData->power, 7.0f);
  EXPECT_EQ(loose->textureCount, 0u) << "a missing texture leaves the material untextured";
  EXPECT_EQ(world.textures->width, 2);
  EXPECT_EQ(world.textures->pixelBytes, 6u);
  EXPECT_EQ(world.textures->pixels[5], 0x80);
  ExpectFileIndicesReset(world);
}

TEST_F(SceneFile, CameraAngleGivesBothViewAnglesAndTheNewestIsTheHead) {
  Qz3Writer w;
  w.Camera(CameraRecord("First", 0, 0.3f, {0, 0, 0}, {1, 0, 0}));
  w.Camera(CameraRecord("Cam", 1, 0.5f, {0, -3, 0}, {0, 0, 4}));
  w.End();
  LoadScene(Save(w).c_str(), &world);
  Camera* camera = world.cameras;
  EXPECT_FLOAT_EQ(camera->fovX, 1.0f);
  EXPECT_FLOAT_EQ(camera->fovY, 0.425f);
  EXPECT_FLOAT_EQ(camera->direction.y, 0.6f);
  EXPECT_FLOAT_EQ(camera->direction.z, 0.8f);
  EXPECT_EQ(camera->mode, CameraLookAt);
}

TEST_F(SceneFile, LightSettersEachUpdateTheRenderer) {
  Qz3Writer w;
  Qz3Light l = LightRecord("Spot", 0, LightSpot);
  l.red = 200;
  l.blue = 7;
  l.range = 0.0f;
  l.innerAngle = 0.2f;
  l.outerAngle = 0.4f;
  l.direction = {0, 0, -5};
  w.Light(l);
  w.End();
  LoadScene(Save(w).c_str(), &world);
  Light* light = world.lights;
  EXPECT_EQ(light->colour.Word(), 0x00C80007u);
  EXPECT_EQ(light->direction.z, -1.0f);
  EXPECT_EQ(light->range, 0.0f);
  EXPECT_EQ(light->outerAngle, 0.4f);
  EXPECT_EQ(renderer.CallsTo("UpdateLight").size(), 5u);
}

TEST_F(SceneFile, TrackCountsAndDuration) {
  Qz3Writer w;
  w.ObjectTrack(ObjectTrackRecord("Box", 100, 10, 25.0f), std::vector<ObjKey>(11));
  w.End();
  LoadScene(Save(w).c_str(), &world);
  Move* move = world.moves;
  EXPECT_EQ(move->keyCount, 11u);
  EXPECT_FLOAT_EQ(move->duration, 3.96f);
  EXPECT_STREQ(move->name, "@Box");
  EXPECT_EQ(world.registry.Find(move->id)->kind, ElementObjectMove);
  EXPECT_NE(move->objKeys, nullptr);
}

TEST_F(SceneFile, LightTracksOfOtherTypesHoldNoKeys) {
  Qz3Writer w;
  w.LightTrack(LightTrackRecord("Amb", 0, 10, 1, 25.0f));
  w.LightTrack(LightTrackRecord("Sun", 3, 10, 1, 25.0f));
  w.LightTrack(LightTrackRecord("Omni", LightOmni, 1, 1, 25.0f), std::vector<OmniLightKey>(2));
  w.LightTrack(LightTrackRecord("Spot", LightSpot, 0, 1, 25.0f), std::vector<SpotLightKey>(1));
  w.End();
  LoadScene(Save(w).c_str(), &world);
  Move* spot = world.moves;
  Move* omni = spot->next;
  Move* sun = omni->next;
  EXPECT_NE(spot->spotKeys, nullptr);
  EXPECT_NE(omni->omniKeys, nullptr);
  EXPECT_EQ(sun->subtype, 3u);
  EXPECT_EQ(sun->keyCount, 11u);
  EXPECT_TRUE(!sun->objKeys && !sun->omniKeys && !sun->spotKeys && !sun->targCamKeys && !sun->freeCamKeys);
  EXPECT_EQ(world.registry.Find(sun->id)->kind, ElementMove);
}

TEST_F(SceneFile, CameraTrackFormFollowsTheCameraType) {
  Qz3Writer w;
  w.CameraTrack(CameraTrackRecord("Free", CameraTrackFree, 2, 1, 25.0f), std::vector<FreeCamKey>(3));
  w.CameraTrack(CameraTrackRecord("Zero", 0, 2, 1, 25.0f), TargKeys(3));
  w.End();
  LoadScene(Save(w).c_str(), &world);
  EXPECT_NE(world.moves->targCamKeys, nullptr);
  EXPECT_EQ(world.moves->subtype, 0u);
  EXPECT_NE(world.moves->next->freeCamKeys, nullptr);
}

TEST_F(SceneFile, ElementsTakeOnlyTracksReadBeforeThem) {
  Qz3Writer w;
  w.CameraTrack(CameraTrackRecord("Cam", CameraTrackTarget, 1, 1, 25.0f), TargKeys(2));
  w.Camera(CameraRecord("Cam", 0, 0.5f, {0, 0, 0}, {0, 1, 0}));
  w.Light(LightRecord("Omni", 0, LightOmni));
  w.LightTrack(LightTrackRecord("Omni", LightOmni, 0, 1, 25.0f), std::vector<OmniLightKey>(1));
  w.End();
  LoadScene(Save(w).c_str(), &world);
  EXPECT_EQ(world.cameras->move, world.moves->next);
  EXPECT_EQ(world.lights->move, nullptr);
}

TEST_F(SceneFile, TrackNameOfAnotherKindIsNotTakenForATrack) {
  Qz3Writer w;
  w.Texture(TextureRecord("@Cam", 0, 1, 1), std::vector<uint8_t>(3));
  w.ObjectTrack(ObjectTrackRecord("Cam", 0, 1, 25.0f), std::vector<ObjKey>(1));
  w.Camera(CameraRecord("Cam", 0, 0.5f, {0, 0, 0}, {0, 1, 0}));
  w.End();
  LoadScene(Save(w).c_str(), &world);
  EXPECT_EQ(world.cameras->move, nullptr);
}

TEST_F(SceneFile, MeshObjectWithPatchesBoundsAndTrack) {
  Qz3Writer w;
  w.Material(MaterialRecord("Zero", 0));
  w.Material(MaterialRecord("Five", 5));
  w.ObjectTrack(ObjectTrackRecord("Box", 0, 1, 25.0f), std::vector<ObjKey>(1));
  Qz3MeshObject h = MeshRecord("Box", 3);
  h.position = {7, 8, 9};
  h.positionWord = 1.5f;
  h.rotation = {0, 1, 0, 0};
  PatchVertexColoured c = {{2, 0, 0}, {0, 0, 0}, 0xFF00FF00, 0, 0, 0};
  w.MeshObject(h, {Triangle(5), Triangle(77), ColouredPatch(kQz3NoIndex, {c}, {0, 0, 0})});
  w.End();
  LoadScene(Save(w).c_str(), &world);
  MeshObject* mesh = world.meshes;
  ASSERT_NE(mesh, nullptr);
  EXPECT_STREQ(mesh->name, "Box");
  EXPECT_EQ(mesh->patchCount, 3u);
  EXPECT_STREQ(world.registry.Find(mesh->patches[0].material->id)->name, "Five");
  EXPECT_STREQ(world.registry.Find(mesh->patches[1].material->id)->name, "Zero") << "falls back to file index 0";
  EXPECT_EQ(mesh->patches[2].material, nullptr);
  EXPECT_EQ(mesh->patches[2].kind, PatchColoured);
  EXPECT_EQ(mesh->patches[0].rendererWords[0], 1u) << "CreatePatch ran";
  EXPECT_EQ(Warnings(), std::vector<std::string>{"No Material on Patch at export"});
  EXPECT_EQ(mesh->boundsMax.x, 2.0f);
  EXPECT_EQ(mesh->boundsMin.y, -1.0f);
  EXPECT_EQ(mesh->positionWord, 1.5f);
  EXPECT_EQ(mesh->rotation.x, 1.0f);
  EXPECT_EQ(mesh->flags, 114u);
  EXPECT_EQ(mesh->move, world.moves);
  EXPECT_EQ(renderer.CallsTo("CreatePatch").size(), 3u);
}

TEST_F(SceneFile, PatchWithoutAnyMaterialOfIndexZeroHasNone) {
  Qz3Writer w;
  w.Material(MaterialRecord("One", 1));
  w.MeshObject(MeshRecord("Box", 1), {Triangle(4)});
  w.End();
  LoadScene(Save(w).c_str(), &world);
  EXPECT_EQ(world.meshes->patches[0].material, nullptr);
}

TEST_F(SceneFile, ThreeHundredPatchesWarnAndLoad) {
  Qz3Writer w;
  w.MeshObject(MeshRecord("Many", 300), std::vector<Qz3PatchData>(300, Triangle(kQz3NoIndex)));
  w.End();
  sys->answers.assign(301, BoxAnswer::Ok);
  LoadScene(Save(w).c_str(), &world);
  EXPECT_EQ(world.meshes->patchCount, 300u);
  EXPECT_EQ(Warnings().front(), "Patches Invalid");
}

TEST_F(SceneFile, EmptyMeshObjectIsDiscarded) {
  Qz3Writer w;
  w.MeshObject(MeshRecord("Empty", 0), {});
  w.Material(MaterialRecord("After", 0));
  w.End();
  LoadScene(Save(w).c_str(), &world);
  EXPECT_EQ(world.meshes, nullptr);
  EXPECT_NE(world.materials, nullptr);
  EXPECT_EQ(Warnings(), (std::vector<std::string>{"Patches Invalid", "Empty MeshObject"}));
}

TEST_F(SceneFile, UnterminatedNamesStayInsideTheirFields) {
  Qz3Writer w;
  Qz3MeshObject h = MeshRecord("", 1);
  std::memset(h.name, 'M', sizeof h.name);
  w.MeshObject(h, {Triangle(kQz3NoIndex)});
  Qz3Camera c = CameraRecord("", 0, 0.5f, {0, 0, 0}, {0, 1, 0});
  std::memset(c.name, 'C', sizeof c.name);
  w.Camera(c);
  w.End();
  LoadScene(Save(w).c_str(), &world);
  EXPECT_EQ(std::string(world.meshes->name), std::string(40, 'M'));
  EXPECT_EQ(std::string(world.registry.Find(world.cameras->id)->name), std::string(31, 'C'));
}

// Each hostile file and the message that stops it.
struct Hostile {
  const char* what;
  std::function<void(Qz3Writer&)> write;
  const char* message;
};

class HostileSceneFile : public SceneTest {
 protected:
  std::string Load(const Hostile& h) {
    Qz3Writer w;
    h.write(w);
    std::string path = Save(w);
    return FatalText([&] { LoadScene(path.c_str(), &world); });
  }
};

TEST_F(HostileSceneFile, EveryBadCountStopsWithItsMessage) {
  std::vector<Hostile> cases = {
      {"material cut short", [](Qz3Writer& w) { w.Chunk(ChunkMaterial, "abc", 3); }, "Error reading Material"},
      {"texture of no pixels", [](Qz3Writer& w) { Qz3Texture t = TextureRecord("T", 0, 0, 0); w.Texture(t, {}); },
       "Error reading Texture"},
      {"pixel block past the end",
       [](Qz3Writer& w) {
         Qz3Texture t = TextureRecord("T", 0, 4, 4);
         t.pixelBytes = 0xFFFFFFF0;
         w.Texture(t, std::vector<uint8_t>(48));
       },
       "Error reading Texture"},
      {"pixel block smaller than the image",
       [](Qz3Writer& w) {
         Qz3Texture t = TextureRecord("T", 0, 64, 64);
         t.pixelBytes = 12;
         w.Texture(t, std::vector<uint8_t>(12));
         w.End();
       },
       "Texture size invalid"},
      {"camera cut short", [](Qz3Writer& w) { w.Chunk(ChunkCamera, "abc", 3); }, "Error reading Camera"},
      {"light cut short", [](Qz3Writer& w) { w.Chunk(ChunkLight, "abc", 3); }, "Error reading Light"},
      {"mesh header cut short", [](Qz3Writer& w) { w.Chunk(ChunkMeshObject, "abc", 3); }, "Error reading ObjectMesh"},
      {"more patches than the file holds", [](Qz3Writer& w) { w.MeshObject(MeshRecord("M", 0x10000000), {}); },
       "Error reading Patch"},
      {"patch record cut short",
       [](Qz3Writer& w) {
         w.MeshObject(MeshRecord("M", 2), {Triangle(kQz3NoIndex)});
         w.Raw("01234", 5);
       },
       "Error reading Patch"},
      {"unknown vertex kind",
       [](Qz3Writer& w) {
         Qz3PatchData p = Triangle(kQz3NoIndex);
         p.record.kind = 5;
         w.MeshObject(MeshRecord("M", 1), {p});
       },
       "Patch type uknown"},
      {"no vertices",
       [](Qz3Writer& w) {
         w.MeshObject(MeshRecord("M", 1), {LitPatch(kQz3NoIndex, {}, {0, 0, 0})});
         w.End();
       },
       "Error reading PatchVert"},
      {"vertex count past the end",
       [](Qz3Writer& w) {
         Qz3PatchData p = Triangle(kQz3NoIndex);
         p.record.vertexCount = 0x40000000;
         w.MeshObject(MeshRecord("M", 1), {p});
         w.End();
       },
       "Error reading PatchVert"},
      {"no indices",
       [](Qz3Writer& w) {
         Qz3PatchData p = Triangle(kQz3NoIndex);
         p.record.indexCount = 0;
         p.indices.clear();
         w.MeshObject(MeshRecord("M", 1), {p});
         w.End();
       },
       "Error reading PatchIndex"},
      {"index count past the end",
       [](Qz3Writer& w) {
         Qz3PatchData p = Triangle(kQz3NoIndex);
         p.record.indexCount = 0xFFFFFFFF;
         w.MeshObject(MeshRecord("M", 1), {p});
         w.End();
       },
       "Error reading PatchIndex"},
      {"index of V",
       [](Qz3Writer& w) {
         w.MeshObject(MeshRecord("M", 1), {LitPatch(kQz3NoIndex, {{}, {}, {}}, {0, 1, 3})});
         w.End();
       },
       "PatchIndex out of range"},
      {"track header cut short", [](Qz3Writer& w) { w.Chunk(ChunkLightTrack, "abc", 3); },
       "Error reading Object Move"},
      {"step of 0",
       [](Qz3Writer& w) {
         w.ObjectTrack(ObjectTrackRecord("M", 10, 0, 25.0f), {});
         w.End();
       },
       "Move step invalid"},
      {"fewer keys than the count",
       [](Qz3Writer& w) {
         w.CameraTrack(CameraTrackRecord("C", CameraTrackTarget, 10, 1, 25.0f), TargKeys(10));
         w.End();
       },
       "Move File error"},
      {"a key count no file holds",
       [](Qz3Writer& w) {
         w.LightTrack(LightTrackRecord("L", LightSpot, 0xFFFFFFFF, 1, 25.0f), std::vector<SpotLightKey>(2));
         w.End();
       },
       "Move File error"},
  };
  for (const Hostile& h : cases) {
    EXPECT_EQ(Load(h), h.message) << h.what;
    world.Destroy();
  }
}

}  // namespace

namespace {

// A scene with one of everything, tracks first so that every element takes one.
Qz3Writer RichScene() {
  Qz3Writer w;
  w.Texture(TextureRecord("Tex", 0, 2, 2), std::vector<uint8_t>(12, 0x40));
  w.Material(MaterialRecord("Mat", 0, 0));
  w.CameraTrack(CameraTrackRecord("Cam", CameraTrackTarget, 4, 2, 10.0f), TargKeys(3));
  w.Camera(CameraRecord("Cam", 0, 0.5f, {0, -10, 0}, {0, 0, 0}));
  w.LightTrack(LightTrackRecord("Spot", LightSpot, 2, 1, 10.0f), std::vector<SpotLightKey>(3));
  w.Light(LightRecord("Spot", 0, LightSpot));
  w.ObjectTrack(ObjectTrackRecord("Box", 4, 2, 10.0f), std::vector<ObjKey>(3, ObjKey{{0, 0, 0}, 0, {1, 1, 1}, 0, {1, 0, 0, 0}}));
  PatchVertexColoured c = {{2, 0, 0}, {0, 0, 0}, 0xFF00FF00, 0, 0, 0};
  w.MeshObject(MeshRecord("Box", 2), {Triangle(0), ColouredPatch(0, {c, c}, {0, 1, 0})});
  w.End();
  return w;
}

TEST_F(SceneFile, DamagedFilesEndInAMessageOrALoadedScene) {
  std::vector<uint8_t> good = RichScene().Bytes();
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  int loaded = 0;
  for (int round = 0; round < 1000; ++round) {
    std::vector<uint8_t> bytes = good;
    int changes = 1 + next() % 4;
    for (int i = 0; i < changes; ++i) {
      uint32_t at = 8 + next() % (bytes.size() - 8);
      uint32_t r = next();
      bytes[at] = r % 3 == 0 ? 0xFF : r % 3 == 1 ? 0x00 : static_cast<uint8_t>(r >> 8);
    }
    if (round % 10 == 0) bytes.resize(8 + next() % (bytes.size() - 8));
    std::string path = SaveBytes(bytes);
    try {
      LoadScene(path.c_str(), &world);
      auto* view = new View("View1", 0, 0, 1.0f, 800.0f, 600.0f, 500.0f, 1, &world);
      view->SetCamera(world.cameras);
      world.SetView(view);
      for (float t : {0.0f, 0.15f, 0.35f, 5.0f}) world.AnimateWorld(t);
      ++loaded;
    } catch (const FakeExit&) {
    }
    world.Destroy();
  }
  EXPECT_GT(loaded, 0);
  EXPECT_LT(loaded, 1000);
}

}  // namespace
