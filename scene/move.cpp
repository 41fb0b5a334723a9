// Keyframe tracks and their interpolation at one key index and fraction.
#include "scene/move.h"

#include <cmath>
#include <cstdio>

#include "core/allocate.h"
#include "core/error.h"
#include "scene/camera.h"
#include "scene/light.h"
#include "scene/list.h"
#include "scene/mesh.h"
#include "scene/world.h"

namespace {

struct KeyPair {
  uint32_t a, b;
};

float Blend(float a, float b, float frac) { return (b - a) * frac + a; }

Vec3 Blend(const Vec3& a, const Vec3& b, float frac) {
  return {Blend(a.x, b.x, frac), Blend(a.y, b.y, frac), Blend(a.z, b.z, frac)};
}

// Truncates toward zero and keeps the low byte; a fraction outside [0, 1) that has been
// acknowledged can push the value out of range, where the conversion would be undefined.
uint8_t BlendByte(uint8_t a, uint8_t b, float frac) {
  float v = static_cast<float>(static_cast<int32_t>(b) - static_cast<int32_t>(a)) * frac + static_cast<float>(a);
  if (!(v > -2147483648.0f && v < 2147483648.0f)) return 0;
  return static_cast<uint8_t>(static_cast<int32_t>(v));
}

// The range warnings, then the two keys to blend. A key past the last one holds the last key,
// so the update never reads past the array.
bool PickKeys(const Move& track, uint32_t key, float frac, KeyPair& keys) {
  if (key >= track.keyCount) ReportError("Frame out of range", false);
  if (!(frac >= 0.0f && frac < 1.0f)) ReportError("Interpol out of range", false);
  if (track.keyCount == 0) return false;
  if (key >= track.keyCount) {
    keys = {track.keyCount - 1, track.keyCount - 1};
  } else {
    keys = {key, (key + 1) % track.keyCount};
  }
  return true;
}

// 2 x arccos(w) of the roll quaternion; rounding in the blend can leave |w| a hair above 1.
float RollOf(const Quaternion& q) { return 2.0f * std::acos(std::fmin(1.0f, std::fmax(-1.0f, q.w))); }

constexpr Vec3 kRollAxis = {0.0f, 1.0f, 0.0f};

}  // namespace

Move::Move(const char* trackName, uint32_t kind, World* world) : world(world) {
  std::snprintf(name, sizeof name, "%s", trackName);
  id = world->registry.Add(this, kind, name);
  PushHead(world->moves, this);
}

void Move::Destroy() {
  Release(freeCamKeys);
  Release(targCamKeys);
  Release(objKeys);
  Release(omniKeys);
  Release(spotKeys);
  freeCamKeys = nullptr;
  targCamKeys = nullptr;
  objKeys = nullptr;
  omniKeys = nullptr;
  spotKeys = nullptr;
  Unlink(world->moves, this);
}

void AnimateObject(const Move& track, MeshObject& object, uint32_t key, float frac) {
  KeyPair k;
  if (!PickKeys(track, key, frac, k) || !track.objKeys) return;
  const ObjKey& a = track.objKeys[k.a];
  const ObjKey& b = track.objKeys[k.b];
  Vec3 p = Blend(a.position, b.position, frac);
  Quaternion q = Slerp(a.rotation, b.rotation, frac);
  Vec3 s = Blend(a.scale, b.scale, frac);
  if (!IsFinite(p) || !IsFinite(q) || !IsFinite(s)) return;
  object.SetPosition(p.x, p.y, p.z);
  object.SetRotation(q);
  object.SetScale(s.x, s.y, s.z);
}

void AnimateCamera(const Move& track, Camera& camera, uint32_t key, float frac) {
  KeyPair k;
  if (!PickKeys(track, key, frac, k)) return;
  if (track.subtype == CameraTrackTarget && track.targCamKeys) {
    const TargCamKey& a = track.targCamKeys[k.a];
    const TargCamKey& b = track.targCamKeys[k.b];
    Vec3 p = Blend(a.position, b.position, frac);
    Vec3 t = Blend(a.target, b.target, frac);
    float angle = Blend(a.angle, b.angle, frac);
    if (!IsFinite(p) || !IsFinite(t) || !std::isfinite(angle)) return;
    camera.SetPosition(p.x, p.y, p.z);
    camera.SetTarget(t.x, t.y, t.z);
    camera.SetFov(angle, angle);
    Quaternion qa = AxisAngleToQuaternion(kRollAxis, a.roll);
    Quaternion qb = AxisAngleToQuaternion(kRollAxis, b.roll);
    camera.roll = RollOf(Slerp(qa, qb, frac));
  } else if (track.subtype == CameraTrackFree && track.freeCamKeys) {
    // A free camera jumps from key to key.
    const FreeCamKey& a = track.freeCamKeys[k.a];
    if (!IsFinite(a.position) || !IsFinite(a.orientation) || !std::isfinite(a.angle)) return;
    camera.SetPosition(a.position.x, a.position.y, a.position.z);
    camera.SetOrientation(a.orientation);
    camera.SetFov(a.angle, a.angle);
  }
}

void AnimateLight(const Move& track, Light& light, uint32_t key, float frac) {
  KeyPair k;
  if (!PickKeys(track, key, frac, k)) return;
  if (light.type == LightOmni && track.omniKeys) {
    const OmniLightKey& a = track.omniKeys[k.a];
    const OmniLightKey& b = track.omniKeys[k.b];
    Vec3 p = Blend(a.position, b.position, frac);
    if (!IsFinite(p)) return;
    light.SetPosition(p.x, p.y, p.z);
    light.SetColour(BlendByte(a.red, b.red, frac), BlendByte(a.green, b.green, frac), BlendByte(a.blue, b.blue, frac));
  } else if (light.type == LightSpot && track.spotKeys) {
    const SpotLightKey& a = track.spotKeys[k.a];
    const SpotLightKey& b = track.spotKeys[k.b];
    Vec3 p = Blend(a.position, b.position, frac);
    Vec3 d = Blend(a.direction, b.direction, frac);
    float inner = Blend(a.innerAngle, b.innerAngle, frac);
    float outer = Blend(a.outerAngle, b.outerAngle, frac);
    if (!IsFinite(p) || !IsFinite(d) || !std::isfinite(inner) || !std::isfinite(outer)) return;
    light.SetPosition(p.x, p.y, p.z);
    light.SetDirection(d.x, d.y, d.z);
    light.SetColour(BlendByte(a.red, b.red, frac), BlendByte(a.green, b.green, frac), BlendByte(a.blue, b.blue, frac));
    light.SetCone(inner, outer);
  }
}
