// Keyframe tracks (Move) with their five key kinds as stored in scene files, and their interpolation.
//
// Every track of a scene is evaluated at the key index and fraction of the active camera's track
// (World::AnimateWorld). Key B of the blend is the next key, wrapping to key 0 after the last.
#pragma once

#include <cstdint>

#include "scene/math.h"
#include "scene/registry.h"

class Camera;
class Light;
class MeshObject;
class World;

struct ObjKey {
  Vec3 position;
  uint32_t reserved0;
  Vec3 scale;
  uint32_t reserved1;
  Quaternion rotation;
};
static_assert(sizeof(ObjKey) == 48);

struct TargCamKey {
  Vec3 position;
  uint32_t reserved0;
  Vec3 target;
  uint32_t reserved1;
  float angle;
  float roll;
};
static_assert(sizeof(TargCamKey) == 40);

struct FreeCamKey {
  Vec3 position;
  uint8_t reserved[20];
  Quaternion orientation;
  float angle;
};
static_assert(sizeof(FreeCamKey) == 52);

struct OmniLightKey {
  uint8_t blue, green, red, reserved0;
  Vec3 position;
  uint32_t reserved1;
};
static_assert(sizeof(OmniLightKey) == 20);

struct SpotLightKey {
  uint8_t blue, green, red, reserved0;
  uint32_t reserved1;
  float innerAngle;
  float outerAngle;
  Vec3 position;
  uint32_t reserved2;
  Vec3 direction;
  uint32_t reserved3;
};
static_assert(sizeof(SpotLightKey) == 48);

// The camera form's subtype.
enum CameraTrackType : uint32_t {
  CameraTrackTarget = 1,
  CameraTrackFree = 2,
};

constexpr int kMoveNameSize = 64;

class Move {
 public:
  // Registers under the track name ("@" and the element's name) with kind 7 (objects) or 8
  // (cameras and lights) and joins the World's track list; the reader fills the rest.
  Move(const char* trackName, uint32_t kind, World* world);
  Move(const Move&) = delete;
  Move& operator=(const Move&) = delete;

  ElementId id;
  World* world;
  uint32_t subtype = 0;   // object subtype, camera type or light type
  uint32_t keyCount = 0;  // frames / step + 1
  uint32_t frames = 0;
  uint32_t step = 0;  // frames per key
  float fps = 0;
  float duration = 0;  // (frames - 1) / fps, seconds; 0 unless that is a finite positive number and fps is positive
  // At most one is set, with keyCount entries.
  FreeCamKey* freeCamKeys = nullptr;
  TargCamKey* targCamKeys = nullptr;
  ObjKey* objKeys = nullptr;
  OmniLightKey* omniKeys = nullptr;
  SpotLightKey* spotKeys = nullptr;
  char name[kMoveNameSize] = {};
  Move* next = nullptr;
  Move* prev = nullptr;

  // Frees the key arrays and unlinks.
  void Destroy();
};

// Each warns "Frame out of range" for key >= keyCount (and then holds the last key) and
// "Interpol out of range" for frac outside [0, 1); a track without the keys its element needs
// leaves the element as it is. So does a blend that is not finite (NaN or infinite keys, or keys
// too far apart to blend): the element holds its last sound pose rather than hand NaNs to the renderer.
void AnimateObject(const Move& track, MeshObject& object, uint32_t key, float frac);
void AnimateCamera(const Move& track, Camera& camera, uint32_t key, float frac);
void AnimateLight(const Move& track, Light& light, uint32_t key, float frac);
