// The .qz3 reader: header, chunk dispatch, track and key layouts, cross references, messages, and hostile counts.
#include "scene/scene_file.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <tuple>
#include <utility>

#include "scene/camera.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "scene/move.h"
#include "scene/texture.h"
#include "scene/view.h"
#include "tests/scene_fixture.h"

namespace {

class SceneFile : public SceneTest {
 protected:
  // Ends the file and loads it into the world.
  void Load(Qz3Writer& w) {
    w.End();
    LoadScene(Save(w).c_str(), &world);
  }
};

// One triangle of a unit cube's corners.
Qz3PatchData Triangle(uint32_t materialIndex) {
  const Vec3 n = {0, 0, 1};
  return LitPatch(materialIndex, {{{-1, -1, -1}, n, 0, 0}, {{1, 1, 1}, n, 1, 0}, {{1, -1, 1}, n, 1, 1}}, {0, 1, 2});
}

std::vector<TargCamKey> TargKeys(size_t n) {
  return std::vector<TargCamKey>(n, TargCamKey{{0, -10, 0}, 0, {0, 0, 0}, 0, 1, 0});
}

TEST_F(SceneFile, TheSixteenByteEmptySceneLoads) {
  std::string path = Save({0x26, 0x42, 0x20, 0x60, 0x2C, 0x01, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0});
  LoadScene(path.c_str(), &world);
  EXPECT_EQ(world.materials, nullptr);
  EXPECT_TRUE(sys->boxes.empty());
}

TEST_F(SceneFile, FileLevelFailuresNameThePath) {
  Qz3Writer old(299), alien(300, 0x12345678), unended, skipPastTheEnd;
  old.End();
  alien.End();
  unended.Material(MaterialRecord("Mat", 0));
  SceneChunk huge = {ChunkSkipped, 0xFFFFFFF0};
  skipPastTheEnd.Raw(&huge, sizeof huge);
  skipPastTheEnd.End();
  for (auto [file, message] : {std::pair{&old, "Wrong version"},
                               {&alien, "Wrong file format"},
                               {&unended, "Unexpected end of file"},
                               {&skipPastTheEnd, "Unexpected end of file"}}) {
    std::string path = Save(*file);
    EXPECT_EQ(FatalText([&] { LoadScene(path.c_str(), &world); }), std::string(message) + " (" + path + ")");
  }
  EXPECT_EQ(FatalText([&] { LoadScene("/nonexistent/scene1.QZ3", &world); }),
            "Can't open file (/nonexistent/scene1.QZ3)");
}

TEST_F(SceneFile, UnknownAndSkippedChunksAreSkippedBySizeAndNothingAfterTheEndIsRead) {
  Qz3Writer w;
  uint8_t junk[13] = {0xFF, 0xFF, 0xFF, 0xFF};
  for (uint32_t id : {0x01000000u, 0x01050000u, 0x7u, 0x01090000u}) w.Chunk(id, junk, sizeof junk);
  w.Material(MaterialRecord("After", 0));
  w.End();
  w.Material(MaterialRecord("Late", 1));
  LoadScene(Save(w).c_str(), &world);
  ASSERT_NE(world.materials, nullptr);
  EXPECT_STREQ(world.registry.Find(world.materials->id)->name, "After");
  EXPECT_EQ(world.materials->next, nullptr);
}

TEST_F(SceneFile, MaterialTakesItsFieldsAndOnlyAnEarlierTextureByFileIndex) {
  Qz3Writer w;
  w.Texture(TextureRecord("Tex", 4, 2, 1), std::vector<uint8_t>(6, 0x80));
  Qz3Material m = MaterialRecord("Mat", 0, 4);
  m.mode = 2;
  m.diffuse = {1, 2, 3, 4};
  m.shininess = 7.0f;
  w.Material(m);
  w.Material(MaterialRecord("Loose", 1, 9));  // names a texture that is not there
  Load(w);
  Material* loose = world.materials;
  Material* mat = loose->next;
  EXPECT_EQ(mat->textures[0], world.textures);
  EXPECT_EQ(mat->textureCount, 1u);
  EXPECT_EQ(mat->mode, 2u);
  EXPECT_EQ(mat->diffuse.Word(), 0x04030201u);
  EXPECT_EQ(mat->shininess, 7.0f);
  EXPECT_EQ(mat->rendererData->power, 0.0f) << "devices light with power 0 whatever the file's shininess";
  EXPECT_EQ(loose->textureCount, 0u) << "a missing texture leaves the material untextured";
  EXPECT_EQ(world.textures->width, 2);
  EXPECT_EQ(world.textures->height, 1);
  EXPECT_EQ(world.textures->pixels[5], 0x80);
  for (IdElm* head : world.registry.buckets) {
    for (IdElm* e = head; e; e = e->next) EXPECT_EQ(e->fileIndex, -1) << "file indices are reset after the file";
  }
}

TEST_F(SceneFile, CameraAndLightTakeTheirChunksThroughTheirSetters) {
  Qz3Writer w;
  w.Camera(CameraRecord("First", 0, 0.3f, {0, 0, 0}, {1, 0, 0}));
  w.Camera(CameraRecord("Cam", 1, 0.5f, {0, -3, 0}, {0, 0, 4}));
  Qz3Light l = LightRecord("Spot", 0, LightSpot);
  l.red = 200;
  l.blue = 7;
  l.outerAngle = 0.4f;
  l.direction = {0, 0, -5};
  w.Light(l);
  Load(w);
  Camera* camera = world.cameras;
  EXPECT_FLOAT_EQ(camera->fovX, 1.0f);
  EXPECT_FLOAT_EQ(camera->fovY, 0.425f);
  EXPECT_FLOAT_EQ(camera->direction.y, 0.6f);
  EXPECT_FLOAT_EQ(camera->direction.z, 0.8f);
  Light* light = world.lights;
  EXPECT_EQ(light->colour.Word(), 0x00C80007u);
  EXPECT_EQ(light->direction.z, -1.0f);
  EXPECT_EQ(light->outerAngle, 0.4f);
  EXPECT_EQ(renderer.CallsTo("UpdateLight").size(), 5u) << "each setter tells the renderer";
}

// A field of a key record: its offset, its size (a colour byte or a float) and where the loaded track holds it.
struct KeyField {
  size_t offset, size;
  double (*loaded)(const Move&, uint32_t key);
};
#define KEY(keys, field, offset)                                            \
  KeyField {                                                                \
    offset, sizeof(std::declval<Move>().keys->field),                       \
        [](const Move& m, uint32_t k) -> double { return m.keys[k].field; } \
  }

// Track chunks written byte by byte from the format's own offsets, each key field with a value of its own.
TEST_F(SceneFile, TrackHeadersAndKeysAreReadFromTheirOffsets) {
  const std::vector<KeyField> obj = {KEY(objKeys, position.x, 0),  KEY(objKeys, position.y, 4),
                                     KEY(objKeys, position.z, 8),  KEY(objKeys, scale.x, 16),
                                     KEY(objKeys, scale.y, 20),    KEY(objKeys, scale.z, 24),
                                     KEY(objKeys, rotation.w, 32), KEY(objKeys, rotation.x, 36),
                                     KEY(objKeys, rotation.y, 40), KEY(objKeys, rotation.z, 44)};
  const std::vector<KeyField> targ = {KEY(targCamKeys, position.x, 0), KEY(targCamKeys, position.y, 4),
                                      KEY(targCamKeys, position.z, 8), KEY(targCamKeys, target.x, 16),
                                      KEY(targCamKeys, target.y, 20),  KEY(targCamKeys, target.z, 24),
                                      KEY(targCamKeys, angle, 32),     KEY(targCamKeys, roll, 36)};
  const std::vector<KeyField> free = {KEY(freeCamKeys, position.x, 0),     KEY(freeCamKeys, position.y, 4),
                                      KEY(freeCamKeys, position.z, 8),     KEY(freeCamKeys, orientation.w, 32),
                                      KEY(freeCamKeys, orientation.x, 36), KEY(freeCamKeys, orientation.y, 40),
                                      KEY(freeCamKeys, orientation.z, 44), KEY(freeCamKeys, angle, 48)};
  const std::vector<KeyField> omni = {KEY(omniKeys, blue, 0),       KEY(omniKeys, green, 1),
                                      KEY(omniKeys, red, 2),        KEY(omniKeys, position.x, 4),
                                      KEY(omniKeys, position.y, 8), KEY(omniKeys, position.z, 12)};
  const std::vector<KeyField> spot = {
      KEY(spotKeys, blue, 0),         KEY(spotKeys, green, 1),       KEY(spotKeys, red, 2),
      KEY(spotKeys, innerAngle, 8),   KEY(spotKeys, outerAngle, 12), KEY(spotKeys, position.x, 16),
      KEY(spotKeys, position.y, 20),  KEY(spotKeys, position.z, 24), KEY(spotKeys, direction.x, 32),
      KEY(spotKeys, direction.y, 36), KEY(spotKeys, direction.z, 40)};
  const std::vector<KeyField> none;
  // Frames are at 32 in every form; step, fps and the type word where the form puts them.
  struct Form {
    const char* what;
    uint32_t chunk, headerSize, stepAt, fpsAt, typeAt, type, kind, keySize;
    const std::vector<KeyField>& fields;
  } forms[] = {
      {"object", 0x01060000, 48, 36, 40, 44, 7, ElementObjectMove, 48, obj},
      {"target camera", 0x01070000, 48, 40, 44, 36, 1, ElementMove, 40, targ},
      {"camera of type 0", 0x01070000, 48, 40, 44, 36, 0, ElementMove, 40, targ},
      {"free camera", 0x01070000, 48, 40, 44, 36, 2, ElementMove, 52, free},
      {"omni light", 0x01080000, 52, 36, 40, 48, 1, ElementMove, 20, omni},
      {"spot light", 0x01080000, 52, 36, 40, 48, 2, ElementMove, 48, spot},
      {"light of type 0", 0x01080000, 52, 36, 40, 48, 0, ElementMove, 0, none},
      {"light of type 3", 0x01080000, 52, 36, 40, 48, 3, ElementMove, 0, none},
  };
  for (const Form& form : forms) {
    SCOPED_TRACE(form.what);
    // 6 frames, a key every 3: keys 0, 1 and 2; then the end chunk.
    const uint32_t keyCount = 3, body = 16;
    std::vector<uint8_t> bytes(body + form.headerSize + keyCount * form.keySize + 8);
    auto put = [&bytes](size_t at, uint32_t word) {
      for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(word >> (8 * i));
    };
    auto value = [](const KeyField& f, uint32_t k) {
      return f.size == 1 ? f.offset + 1 + 10 * k : f.offset + 0.5 + 100 * k;
    };
    put(0, 0x60204226);
    put(4, 300);
    put(8, form.chunk);
    put(12, static_cast<uint32_t>(bytes.size() - body - 8));
    std::memcpy(&bytes[body], "Trk", 3);
    put(body + 32, 6);
    put(body + form.stepAt, 3);
    put(body + form.fpsAt, std::bit_cast<uint32_t>(8.0f));
    if (form.headerSize == 52) put(body + 44, 0x11111111);  // not read
    put(body + form.typeAt, form.type);
    put(bytes.size() - 8, 0xFF000000);
    for (uint32_t k = 0; k < keyCount; ++k) {
      for (const KeyField& f : form.fields) {
        size_t at = body + form.headerSize + k * form.keySize + f.offset;
        if (f.size == 1)
          bytes[at] = static_cast<uint8_t>(value(f, k));
        else
          put(at, std::bit_cast<uint32_t>(static_cast<float>(value(f, k))));
      }
    }
    std::string path = Save(bytes);
    ASSERT_EQ(FatalText([&] { LoadScene(path.c_str(), &world); }), "");
    const Move* move = world.moves;
    ASSERT_NE(move, nullptr);
    EXPECT_STREQ(move->name, "@Trk");
    EXPECT_EQ(world.registry.Find(move->id)->kind, form.kind);
    EXPECT_EQ(std::tuple(move->frames, move->step, move->fps, move->subtype, move->keyCount, move->duration),
              std::tuple(6u, 3u, 8.0f, form.type, keyCount, 0.625f));
    int arrays = !!move->objKeys + !!move->targCamKeys + !!move->freeCamKeys + !!move->omniKeys + !!move->spotKeys;
    ASSERT_EQ(arrays, form.fields.empty() ? 0 : 1);
    for (uint32_t k = 0; k < keyCount; ++k) {
      for (const KeyField& f : form.fields) {
        EXPECT_EQ(f.loaded(*move, k), value(f, k)) << "key " << k << " at " << f.offset;
      }
    }
    world.Destroy();
  }
}

TEST_F(SceneFile, ElementsTakeOnlyEarlierTracksOfTheirOwnForm) {
  Qz3Writer w;
  w.CameraTrack(CameraTrackRecord("Cam", CameraTrackTarget, 1, 1, 25.0f), TargKeys(2));
  w.Camera(CameraRecord("Cam", 0, 0.5f, {0, 0, 0}, {0, 1, 0}));
  w.Texture(TextureRecord("@Odd", 0, 1, 1), std::vector<uint8_t>(3));
  w.ObjectTrack(ObjectTrackRecord("Odd", 0, 1, 25.0f), std::vector<ObjKey>(1));
  w.Camera(CameraRecord("Odd", 1, 0.5f, {0, 0, 0}, {0, 1, 0}));
  w.Light(LightRecord("Omni", 0, LightOmni));
  w.LightTrack(LightTrackRecord("Omni", LightOmni, 0, 1, 25.0f), std::vector<OmniLightKey>(1));
  Load(w);
  ASSERT_NE(world.cameras->next->move, nullptr);
  EXPECT_STREQ(world.cameras->next->move->name, "@Cam");
  EXPECT_EQ(world.cameras->move, nullptr) << "neither a texture nor an object track is a camera's track";
  EXPECT_EQ(world.lights->move, nullptr) << "a track after its element stays unattached";
}

TEST_F(SceneFile, UnsoundFrameRatesEndTheSceneAndUnsoundKeysAreHeld) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  struct Case {
    const char* what;
    float fps, poison;  // poison lands in key 1, which the first frame blends toward
    float angle;        // the camera's, in its chunk and both keys
    float spotZ;        // key 1's spot direction; -1 blends with key 0's (0, 0, 1) to nothing
    bool ends;
  };
  const Case cases[] = {{"NaN frame rate", nan, 0, 1, 1, true},
                        {"infinite frame rate", inf, 0, 1, 1, true},
                        {"frame rate 0", 0, 0, 1, 1, true},
                        {"frame rate too small to end", 1e-39f, 0, 1, 1, true},
                        {"NaN keys", 25, nan, 1, 1, false},
                        {"infinite keys", 25, inf, 1, 1, false},
                        {"view angle 0", 25, 0, 0, 1, false},
                        {"view angle below 0", 25, 0, -1, 1, false},
                     {"view angle past a whole turn", 25, 0, 7, 1, false},
                        {"spot direction blends to nothing", 25, 0, 1, -1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<TargCamKey> cam = TargKeys(3);
    cam[1].position.x = cam[1].target.z = c.poison;
    for (TargCamKey& k : cam) k.angle = c.angle;
    std::vector<ObjKey> box(3, ObjKey{{0, 0, 0}, 0, {1, 1, 1}, 0, {1, 0, 0, 0}});
    box[1].position.y = box[1].rotation.w = c.poison;
    std::vector<SpotLightKey> spot(3);
    for (SpotLightKey& k : spot) k.direction = {0, 0, c.spotZ};
    spot[0].direction = {0, 0, 1};
    Qz3Light light = LightRecord("Spot", 0, LightSpot);
    light.direction = {0, 0, 2};
    Qz3Writer w;
    w.Material(MaterialRecord("Grey", 0));
    w.CameraTrack(CameraTrackRecord("Cam", CameraTrackTarget, 2, 1, c.fps), cam);
    w.Camera(CameraRecord("Cam", 0, c.angle, {0, -10, 0}, {0, 0, 0}));
    w.LightTrack(LightTrackRecord("Spot", LightSpot, 2, 1, 25.0f), spot);
    w.Light(light);
    w.ObjectTrack(ObjectTrackRecord("Box", 2, 1, 25.0f), box);
    w.MeshObject(MeshRecord("Box", 1), {Triangle(0)});
    Load(w);
    auto* view = new View("View1", 0, 0, 1.0f, 800.0f, 600.0f, 500.0f, 1, &world);
    view->SetCamera(world.cameras);
    world.SetView(view);
    renderer.calls.clear();
    EXPECT_EQ(world.AnimateWorld(0.02f), c.ends);
    EXPECT_EQ(renderer.CallsTo("DrawPatch").size(), c.ends ? 0u : 1u);
    EXPECT_TRUE(Warnings().empty());
    for (float v : world.cameras->viewMatrix) ASSERT_TRUE(std::isfinite(v));
    for (float v : world.meshes->worldMatrix) ASSERT_TRUE(std::isfinite(v));
    EXPECT_EQ(world.cameras->position.x, 0.0f) << "held where the camera chunk put it";
    for (float scale : {world.cameras->xScale, world.cameras->yScale}) {
      EXPECT_TRUE(std::isfinite(scale) && scale > 0.0f) << scale;
    }
    for (float fov : {world.cameras->fovX, world.cameras->fovY}) EXPECT_TRUE(fov > 0.0f && fov < 3.1416f) << fov;
    const Vec3& d = world.lights->direction;
    EXPECT_TRUE(d.x == 0.0f && d.y == 0.0f && d.z == 1.0f) << "the chunk's direction, held";
    world.Destroy();
  }
}

TEST_F(SceneFile, MeshObjectWithPatchesBoundsAndTrack) {
  Qz3Writer w;
  w.MeshObject(MeshRecord("Early", 1), {Triangle(4)});  // before any material of index 0
  w.Material(MaterialRecord("Zero", 0));
  w.Material(MaterialRecord("Five", 5));
  w.ObjectTrack(ObjectTrackRecord("Box", 0, 1, 25.0f), std::vector<ObjKey>(1));
  Qz3MeshObject h = MeshRecord("Box", 3);
  h.position = {7, 8, 9};
  h.positionWord = 1.5f;
  h.rotation = {0, 1, 0, 0};
  PatchVertexColoured c = {{2, 0, 0}, {0, 0, 0}, 0xFF00FF00, 0, 0, 0};
  w.MeshObject(h, {Triangle(5), Triangle(77), ColouredPatch(kQz3NoIndex, {c}, {0, 0, 0})});
  Load(w);
  MeshObject* mesh = world.meshes;
  ASSERT_NE(mesh, nullptr);
  EXPECT_EQ(mesh->patchCount, 3u);
  EXPECT_STREQ(world.registry.Find(mesh->patches[0].material->id)->name, "Five");
  EXPECT_STREQ(world.registry.Find(mesh->patches[1].material->id)->name, "Zero") << "falls back to file index 0";
  EXPECT_EQ(mesh->patches[2].material, nullptr);
  EXPECT_EQ(mesh->patches[2].kind, PatchColoured);
  EXPECT_EQ(mesh->next->patches[0].material, nullptr);
  EXPECT_EQ(Warnings(), std::vector<std::string>{"No Material on Patch at export"});
  EXPECT_EQ(mesh->boundsMax.x, 2.0f);
  EXPECT_EQ(mesh->boundsMin.y, -1.0f);
  EXPECT_EQ(mesh->positionWord, 1.5f);
  EXPECT_EQ(mesh->rotation.x, 1.0f);
  EXPECT_EQ(mesh->flags, 114u);
  EXPECT_EQ(mesh->move, world.moves);
  EXPECT_EQ(renderer.CallsTo("CreatePatch").size(), 4u);
}

TEST_F(SceneFile, PatchCountsOutsideOneTo256WarnAndAnEmptyObjectIsDiscarded) {
  Qz3Writer w;
  w.MeshObject(MeshRecord("Many", 300), std::vector<Qz3PatchData>(300, Triangle(kQz3NoIndex)));
  w.MeshObject(MeshRecord("Empty", 0), {});
  w.Material(MaterialRecord("After", 0));
  Load(w);
  ASSERT_NE(world.meshes, nullptr);
  EXPECT_EQ(world.meshes->patchCount, 300u);
  EXPECT_EQ(world.meshes->next, nullptr);
  EXPECT_NE(world.materials, nullptr);
  std::vector<std::string> warnings = Warnings();
  EXPECT_EQ(warnings.front(), "Patches Invalid");
  EXPECT_EQ(std::vector<std::string>(warnings.end() - 2, warnings.end()),
            (std::vector<std::string>{"Patches Invalid", "Empty MeshObject"}));
}

TEST_F(SceneFile, UnterminatedNamesStayInsideTheirFields) {
  Qz3Writer w;
  Qz3MeshObject h = MeshRecord("", 1);
  std::memset(h.name, 'M', sizeof h.name);
  w.MeshObject(h, {Triangle(kQz3NoIndex)});
  Qz3Camera c = CameraRecord("", 0, 0.5f, {0, 0, 0}, {0, 1, 0});
  std::memset(c.name, 'C', sizeof c.name);
  w.Camera(c);
  Load(w);
  EXPECT_EQ(std::string(world.meshes->name), std::string(40, 'M'));
  EXPECT_EQ(std::string(world.registry.Find(world.cameras->id)->name), std::string(31, 'C'));
}

// A mesh object of one triangle patch, changed by edit.
void WriteOnePatch(Qz3Writer& w, void (*edit)(Qz3PatchData&)) {
  Qz3PatchData p = Triangle(kQz3NoIndex);
  edit(p);
  w.MeshObject(MeshRecord("M", 1), {p});
  w.End();
}

// Each hostile file and the message that stops it.
struct Hostile {
  const char* what;
  std::function<void(Qz3Writer&)> write;
  const char* message;
};

std::function<void(Qz3Writer&)> CutShort(uint32_t chunk) {
  return [chunk](Qz3Writer& w) { w.Chunk(chunk, "abc", 3); };
}
std::function<void(Qz3Writer&)> OnePatch(void (*edit)(Qz3PatchData&)) {
  return [edit](Qz3Writer& w) { WriteOnePatch(w, edit); };
}
Qz3Texture TextureOf(uint16_t side, uint32_t pixelBytes) {
  Qz3Texture t = TextureRecord("T", 0, side, side);
  t.pixelBytes = pixelBytes;
  return t;
}

TEST_F(SceneFile, EveryBadCountStopsWithItsMessage) {
  const Hostile cases[] = {
      {"material cut short", CutShort(ChunkMaterial), "Error reading Material"},
      {"camera cut short", CutShort(ChunkCamera), "Error reading Camera"},
      {"light cut short", CutShort(ChunkLight), "Error reading Light"},
      {"mesh header cut short", CutShort(ChunkMeshObject), "Error reading ObjectMesh"},
      {"track header cut short", CutShort(ChunkLightTrack), "Error reading Object Move"},
      {"texture of no pixels", [](Qz3Writer& w) { w.Texture(TextureOf(0, 0), {}); }, "Error reading Texture"},
      {"pixel block past the end", [](Qz3Writer& w) { w.Texture(TextureOf(4, 0xFFFFFFF0), std::vector<uint8_t>(48)); },
       "Error reading Texture"},
      {"pixel block smaller than the image",
       [](Qz3Writer& w) { w.Texture(TextureOf(64, 12), std::vector<uint8_t>(12)); }, "Texture size invalid"},
      {"more patches than the file holds", [](Qz3Writer& w) { w.MeshObject(MeshRecord("M", 0x10000000), {}); },
       "Error reading Patch"},
      {"patch record cut short",
       [](Qz3Writer& w) {
         w.MeshObject(MeshRecord("M", 2), {Triangle(kQz3NoIndex)});
         w.Raw("01234", 5);
       },
       "Error reading Patch"},
      {"unknown vertex kind", OnePatch([](Qz3PatchData& p) { p.record.kind = 5; }), "Patch type uknown"},
      {"no vertices", OnePatch([](Qz3PatchData& p) {
         p.record.vertexCount = 0;
         p.vertices.clear();
       }),
       "Error reading PatchVert"},
      {"vertex count past the end", OnePatch([](Qz3PatchData& p) { p.record.vertexCount = 0x40000000; }),
       "Error reading PatchVert"},
      {"no indices", OnePatch([](Qz3PatchData& p) {
         p.record.indexCount = 0;
         p.indices.clear();
       }),
       "Error reading PatchIndex"},
      {"index count past the end", OnePatch([](Qz3PatchData& p) { p.record.indexCount = 0xFFFFFFFF; }),
       "Error reading PatchIndex"},
      {"index of V", OnePatch([](Qz3PatchData& p) { p.indices[2] = 3; }), "PatchIndex out of range"},
      {"step of 0", [](Qz3Writer& w) { w.ObjectTrack(ObjectTrackRecord("M", 10, 0, 25.0f), {}); }, "Move step invalid"},
      {"fewer keys than the count",
       [](Qz3Writer& w) { w.CameraTrack(CameraTrackRecord("C", CameraTrackTarget, 10, 1, 25.0f), TargKeys(10)); },
       "Move File error"},
      {"a key count no file holds",
       [](Qz3Writer& w) {
         w.LightTrack(LightTrackRecord("L", LightSpot, 0xFFFFFFFF, 1, 25.0f), std::vector<SpotLightKey>(2));
       },
       "Move File error"},
  };
  for (const Hostile& h : cases) {
    Qz3Writer w;
    h.write(w);
    std::string path = Save(w);
    EXPECT_EQ(FatalText([&] { LoadScene(path.c_str(), &world); }), h.message) << h.what;
    world.Destroy();
  }
}

}  // namespace
