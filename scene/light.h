// Light: an ambient, point, spot or directional light; every change is sent to the renderer.
#pragma once

#include <cstdint>

#include "scene/colour.h"
#include "scene/math.h"
#include "scene/registry.h"

class Move;
class World;

// Types 1 to 3 are numbered as the Direct3D 7 light types.
enum LightType : uint32_t {
  LightAmbient = 0,
  LightOmni = 1,
  LightSpot = 2,
  LightDirectional = 3,
};

class Light {
 public:
  // Registers (kind 4), joins the World's light list, then the renderer's CreateLight.
  Light(const char* name, uint32_t type, World* world);
  Light(const Light&) = delete;
  Light& operator=(const Light&) = delete;

  ElementId id;
  World* world;
  Light* prev = nullptr;
  Light* next = nullptr;
  Move* move = nullptr;
  uint32_t type;
  Colour colour = {0, 0, 0, 0};  // the fourth byte stays 0
  Vec3 position = {0, 0, 0};
  Vec3 direction = {0, 1, 0};
  float range = 1.0f;  // 0 = unlimited
  float innerAngle = 0;
  float outerAngle = 0;
  void* rendererData = nullptr;  // the renderer's

  // Each ends with the renderer's UpdateLight.
  void SetColour(uint8_t red, uint8_t green, uint8_t blue);
  void SetPosition(float x, float y, float z);  // one that is not finite is ignored
  void SetDirection(float x, float y, float z);  // stored normalised; one with no length is ignored
  void SetRange(float range);
  void SetCone(float inner, float outer);
  // The renderer's ReleaseLight, then unlinks.
  void Destroy();
};
