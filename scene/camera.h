// Camera: a look-at camera (position, target, roll) or an orientation quaternion, with its view angles.
#pragma once

#include <cstdint>

#include "scene/math.h"
#include "scene/registry.h"

class Move;
class World;

enum CameraMode : uint32_t {
  CameraLookAt = 0,
  CameraQuaternion = 2,
};

class Camera {
 public:
  // Registers (kind 3), fovX = angleA, fovY = angleB x 0.85, joins the World's camera list.
  // An unsound angle (see SetFov) leaves that axis a quarter turn. No renderer call.
  Camera(const char* name, float angleA, float angleB, World* world);
  Camera(const Camera&) = delete;
  Camera& operator=(const Camera&) = delete;

  ElementId id;
  uint32_t mode = CameraLookAt;
  Vec3 position = {0, 0, 0};
  Vec3 target = {0, 0, 0};
  float roll = 0;
  Quaternion orientation = {0, 0, 0, 0};
  Vec3 direction = {0, 0, 0};  // unit vector from position to target
  Vec3 up = {0, 0, 1};
  Move* move = nullptr;
  World* world;
  float fovX, fovY;
  float xScale, yScale;
  Camera* prev = nullptr;
  Camera* next = nullptr;
  float viewMatrix[16] = {};

  // Both recompute the direction and select look-at mode; a point that is not finite leaves the old one.
  void SetPosition(float x, float y, float z);
  void SetTarget(float x, float y, float z);
  // xScale = 1 / tan(a / 2); yScale = (1 / tan(b / 2)) x 1.3333. An angle not strictly between 0 and a half
  // turn, or whose scale is not a finite positive number, leaves that axis's angle and scale as they were.
  void SetFov(float a, float b);
  // Selects quaternion mode; one whose rotation is not finite leaves the old orientation.
  void SetOrientation(const Quaternion& q);
  void BuildViewMatrix();
  // Unlinks; no renderer call.
  void Destroy();
};
