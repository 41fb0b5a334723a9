// Camera: look-at or quaternion orientation, view angles and the view matrix.
#include "scene/camera.h"

#include <cmath>

#include "scene/list.h"
#include "scene/world.h"

namespace {

constexpr float kFovYFactor = 0.85f;
constexpr float kYScaleFactor = 1.3333f;

}  // namespace

Camera::Camera(const char* name, float angleA, float angleB, World* world)
    : world(world),
      fovX(angleA),
      fovY(angleB * kFovYFactor),
      xScale(1.0f / std::tan(angleA * 0.5f)),
      yScale(1.0f / std::tan(fovY * 0.5f)) {
  id = world->registry.Add(this, ElementCamera, name);
  PushHead(world->cameras, this);
}

static Vec3 DirectionBetween(const Vec3& from, const Vec3& to) {
  Vec3 d = {to.x - from.x, to.y - from.y, to.z - from.z};
  Normalize(d);
  return d;
}

void Camera::SetPosition(float x, float y, float z) {
  position = {x, y, z};
  direction = DirectionBetween(position, target);
  mode = CameraLookAt;
}

void Camera::SetTarget(float x, float y, float z) {
  target = {x, y, z};
  direction = DirectionBetween(position, target);
  mode = CameraLookAt;
}

void Camera::SetFov(float a, float b) {
  fovX = a;
  fovY = b;
  xScale = 1.0f / std::tan(a * 0.5f);
  yScale = (1.0f / std::tan(b * 0.5f)) * kYScaleFactor;
}

void Camera::SetOrientation(const Quaternion& q) {
  orientation = q;
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
  float fu = Dot(f, up);
  Vec3 u = {up.x - fu * f.x, up.y - fu * f.y, up.z - fu * f.z};
  if (u.x == 0.0f && u.y == 0.0f && u.z == 0.0f) u = {0.0f, 0.0f, 1.0f};
  Normalize(u);
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
