// Track interpolation: key wrap, colour bytes, roll, free cameras, range warnings and mismatched tracks.
#include <cmath>

#include "core/allocate.h"
#include "scene/camera.h"
#include "scene/light.h"
#include "scene/mesh.h"
#include "scene/move.h"
#include "tests/scene_fixture.h"

namespace {

class Track : public SceneTest {
 protected:
  template <class Key>
  Move* Make(uint32_t kind, uint32_t subtype, std::vector<Key> keys, Key* Move::*array, const char* tag) {
    auto* move = new Move("@T", kind, &world);
    move->subtype = subtype;
    move->keyCount = static_cast<uint32_t>(keys.size());
    Key* copy = static_cast<Key*>(Allocate(sizeof(Key) * keys.size(), tag));
    std::copy(keys.begin(), keys.end(), copy);
    move->*array = copy;
    return move;
  }
  Move* Objects(std::vector<ObjKey> keys) {
    return Make(ElementObjectMove, 0, std::move(keys), &Move::objKeys, "MovePtrObj");
  }
  Move* Targets(std::vector<TargCamKey> keys, uint32_t subtype = CameraTrackTarget) {
    return Make(ElementMove, subtype, std::move(keys), &Move::targCamKeys, "MovePtrTargCam");
  }
  Move* Omnis(std::vector<OmniLightKey> keys) {
    return Make(ElementMove, LightOmni, std::move(keys), &Move::omniKeys, "MovePtrOmniLight");
  }
  Move* Spots(std::vector<SpotLightKey> keys) {
    return Make(ElementMove, LightSpot, std::move(keys), &Move::spotKeys, "MovePtrLightLight");
  }
};

ObjKey At(float x) { return {{x, 0, 0}, 0, {1, 1, 1}, 0, {1, 0, 0, 0}}; }
TargCamKey Roll(float roll) { return {{0, 0, 0}, 0, {0, 1, 0}, 0, 1.0f, roll}; }
OmniLightKey Rgb(uint8_t r, uint8_t g, uint8_t b) { return {b, g, r, 0, {0, 0, 0}, 0}; }

TEST_F(Track, LastKeyBlendsTowardTheFirst) {
  Move* move = Objects({At(0), At(10), At(20)});
  MeshObject mesh("Box", &world);
  AnimateObject(*move, mesh, 2, 0.5f);
  EXPECT_EQ(mesh.position.x, 10.0f);
  AnimateObject(*move, mesh, 1, 0.25f);
  EXPECT_EQ(mesh.position.x, 12.5f);
  EXPECT_EQ(mesh.flags & (MeshPositionChanged | MeshRotationChanged | MeshScaleChanged),
            uint32_t{MeshPositionChanged | MeshRotationChanged | MeshScaleChanged});
  AnimateObject(*Objects({At(3)}), mesh, 0, 0.9f);
  EXPECT_EQ(mesh.position.x, 3.0f) << "a single key blends with itself";
  EXPECT_TRUE(sys->boxes.empty());
  mesh.Destroy();
}

TEST_F(Track, ColourBytesTruncateTowardZero) {
  Light light("Omni", LightOmni, &world);
  AnimateLight(*Omnis({Rgb(200, 100, 0), Rgb(100, 201, 255)}), light, 0, 0.5f);
  EXPECT_EQ(light.colour.red, 150);
  EXPECT_EQ(light.colour.green, 150);
  EXPECT_EQ(light.colour.blue, 127);
  AnimateLight(*Omnis({Rgb(7, 8, 9), Rgb(100, 201, 255)}), light, 0, 0.0f);
  EXPECT_EQ(light.colour.Word(), 0x00070809u) << "frac 0 gives key A exactly";
  // Far outside the range the blend is still a defined byte.
  AnimateLight(*Omnis({Rgb(0, 0, 0), Rgb(255, 255, 255)}), light, 0, 1e30f);
  AnimateLight(*Omnis({Rgb(0, 0, 0), Rgb(255, 255, 255)}), light, 0, 2.0f);
  EXPECT_EQ(light.colour.red, static_cast<uint8_t>(510));
  light.Destroy();
}

TEST_F(Track, SpotLightSendsFourUpdatesAndOnlyASpotTakesSpotKeys) {
  Light light("Spot", LightSpot, &world);
  renderer.calls.clear();
  SpotLightKey a = {10, 20, 30, 0, 0, 0.1f, 0.2f, {0, 0, 0}, 0, {0, 0, 2}, 0};
  SpotLightKey b = {10, 20, 30, 0, 0, 0.3f, 0.6f, {4, 0, 0}, 0, {0, 0, 2}, 0};
  AnimateLight(*Spots({a, b}), light, 0, 0.5f);
  EXPECT_EQ(renderer.CallsTo("UpdateLight").size(), 4u);
  EXPECT_EQ(light.position.x, 2.0f);
  EXPECT_EQ(light.direction.z, 1.0f);
  EXPECT_FLOAT_EQ(light.outerAngle, 0.4f);
  // The light's own type decides, not the track's: a directional light is not animated, and an omni
  // light finds no omni keys in a spot track.
  Light sun("Sun", LightDirectional, &world);
  Light omni("Omni", LightOmni, &world);
  renderer.calls.clear();
  AnimateLight(*Spots({a, b}), sun, 0, 0.0f);
  AnimateLight(*Spots({a, b}), omni, 0, 0.0f);
  EXPECT_TRUE(renderer.calls.empty());
  EXPECT_EQ(omni.position.x, 0.0f);
  light.Destroy();
  sun.Destroy();
  omni.Destroy();
}

TEST_F(Track, RollComesBackPositiveThroughTheQuaternion) {
  Camera camera("Cam", 1, 1, &world);
  AnimateCamera(*Targets({Roll(0.5f), Roll(0.5f)}), camera, 0, 0.3f);
  EXPECT_NEAR(camera.roll, 0.5f, 1e-5f);
  AnimateCamera(*Targets({Roll(-0.5f), Roll(-0.5f)}), camera, 0, 0.3f);
  EXPECT_NEAR(camera.roll, 0.5f, 1e-5f);
  AnimateCamera(*Targets({Roll(0.0f), Roll(0.0f)}), camera, 0, 0.7f);
  EXPECT_EQ(camera.roll, 0.0f) << "never the arccos of a w above 1";
  EXPECT_EQ(camera.fovX, 1.0f);
  camera.Destroy();
}

TEST_F(Track, FreeCameraJumpsFromKeyToKeyAndOtherSubtypesAreLeftAlone) {
  Camera camera("Cam", 1, 1, &world);
  FreeCamKey a = {{1, 2, 3}, {}, {0, 1, 0, 0}, 0.8f};
  FreeCamKey b = {{9, 9, 9}, {}, {1, 0, 0, 0}, 0.2f};
  Move* move = Make(ElementMove, CameraTrackFree, std::vector<FreeCamKey>{a, b}, &Move::freeCamKeys, "MovePtrFreeCam");
  AnimateCamera(*move, camera, 0, 0.9f);
  EXPECT_EQ(camera.position.x, 1.0f);
  EXPECT_EQ(camera.orientation.x, 1.0f);
  EXPECT_EQ(camera.mode, CameraQuaternion);
  EXPECT_EQ(camera.fovY, 0.8f);
  // A track of another subtype changes nothing.
  camera.SetPosition(4, 4, 4);
  AnimateCamera(*Targets({Roll(1), Roll(1)}, 0), camera, 0, 0.5f);
  EXPECT_EQ(camera.position.x, 4.0f);
  EXPECT_EQ(camera.roll, 0.0f);
  camera.Destroy();
}

TEST_F(Track, OutOfRangeWarnsAndHoldsTheLastKey) {
  Move* move = Objects({At(0), At(10), At(20)});
  MeshObject mesh("Box", &world);
  AnimateObject(*move, mesh, 7, 0.5f);
  EXPECT_EQ(mesh.position.x, 20.0f);
  AnimateObject(*move, mesh, 0xFFFFFFFF, NAN);
  EXPECT_EQ(Warnings(),
            (std::vector<std::string>{"Frame out of range", "Frame out of range", "Interpol out of range"}));
  AnimateObject(*move, mesh, 0, 1.0f);
  AnimateObject(*move, mesh, 0, -0.1f);
  EXPECT_EQ(Warnings().size(), 5u);
  mesh.Destroy();
}

}  // namespace
