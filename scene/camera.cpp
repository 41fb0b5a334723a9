// Camera: look-at or quaternion orientation, view angles and the view matrix.
#include "scene/camera.h"

#include <cmath>

#include "scene/list.h"
#include "scene/world.h"

namespace {

constexpr float kFovYFactor = 0.85f;
constexpr float kYScaleFactor = 1.3333f;
// What a camera made with unsound angles sees with: a quarter turn, whose scale is 1.
constexpr float kQuarterTurn = 1.57079633f;

constexpr float kHalfTurn = 3.14159265f;

// Takes the view angle a with its scale 1 / tan(a / 2) x factor only when a is strictly between 0 and a half turn
// and that scale is a finite positive number. Otherwise the last sound angle and scale stay, so the projection
// never holds NaN, an infinity or a mirror, and an angle past a whole turn is not taken for what is left of it.
void TakeAngle(float a, float factor, float& fov, float& scale) {
  if (!(a > 0.0f && a < kHalfTurn)) return;
  float s = (1.0f / std::tan(a * 0.5f)) * factor;
  if (!std::isfinite(s) || s <= 0.0f) return;
  fov = a;
  scale = s;
}

}  // namespace

Camera::Camera(const char* name, float angleA, float angleB, World* world)
    : world(world), fovX(kQuarterTurn), fovY(kQuarterTurn), xScale(1.0f), yScale(1.0f) {
  TakeAngle(angleA, 1.0f, fovX, xScale);
  TakeAngle(angleB * kFovYFactor, 1.0f, fovY, yScale);
  id = world->registry.Add(this, ElementCamera, name);
  PushHead(world->cameras, this);
}

// A target on the camera (or too near it to give a length) leaves the direction as it was.
static Vec3 DirectionBetween(const Vec3& from, const Vec3& to, const Vec3& current) {
  Vec3 d = {to.x - from.x, to.y - from.y, to.z - from.z};
  Normalize(d);
  return IsFinite(d) ? d : current;
}

// v less its share along the unit vector f.
static Vec3 Across(const Vec3& v, const Vec3& f) {
  float fv = Dot(f, v);
  return {v.x - fv * f.x, v.y - fv * f.y, v.z - fv * f.z};
}

// The world axis the unit vector f leans on least: its share of f is at most 1 / sqrt(3), so
// what is left across f never vanishes.
static Vec3 AxisAcross(const Vec3& f) {
  float x = std::fabs(f.x), y = std::fabs(f.y), z = std::fabs(f.z);
  if (y <= x && y <= z) return {0.0f, 1.0f, 0.0f};
  return x <= z ? Vec3{1.0f, 0.0f, 0.0f} : Vec3{0.0f, 0.0f, 1.0f};
}

void Camera::SetPosition(float x, float y, float z) {
  if (IsFinite(Vec3{x, y, z})) position = {x, y, z};
  direction = DirectionBetween(position, target, direction);
  mode = CameraLookAt;
}

void Camera::SetTarget(float x, float y, float z) {
  if (IsFinite(Vec3{x, y, z})) target = {x, y, z};
  direction = DirectionBetween(position, target, direction);
  mode = CameraLookAt;
}

void Camera::SetFov(float a, float b) {
  TakeAngle(a, 1.0f, fovX, xScale);
  TakeAngle(b, kYScaleFactor, fovY, yScale);
}

void Camera::SetOrientation(const Quaternion& q) {
  if (HasFiniteRotation(q)) orientation = q;
  mode = CameraQuaternion;
}

void Camera::BuildViewMatrix() {
  if (mode == CameraQuaternion) {
    QuaternionToMatrix(orientation, viewMatrix);
    viewMatrix[3] = viewMatrix[7] = viewMatrix[11] = 0.0f;
    viewMatrix[15] = 1.0f;
    viewMatrix[12] = position.x;
    viewMatrix[13] = position.y;
    viewMatrix[14] = position.z;
    return;
  }
  const Vec3& f = direction;
  Vec3 u = Across(up, f);
  Normalize(u);
  // Looking along the up vector, or so nearly that what is left across has no length in floats: any other up
  // will do, as long as it is not along the direction too.
  if (!IsFinite(u)) {
    u = Across(AxisAcross(f), f);
    Normalize(u);
  }
  Vec3 r = Cross(u, f);
  float v[16] = {r.x,
                 u.x,
                 f.x,
                 0.0f,
                 r.y,
                 u.y,
                 f.y,
                 0.0f,
                 r.z,
                 u.z,
                 f.z,
                 0.0f,
                 -Dot(r, position),
                 -Dot(u, position),
                 -Dot(f, position),
                 1.0f};
  float rollMatrix[16] = {};
  EulerToMatrix(0.0f, 0.0f, roll, rollMatrix);
  MultiplyAffine(v, rollMatrix, viewMatrix);
}

void Camera::Destroy() { Unlink(world->cameras, this); }
