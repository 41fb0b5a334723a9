// Light: every change is sent to the renderer through UpdateLight.
#include "scene/light.h"

#include "render/renderer.h"
#include "scene/list.h"
#include "scene/world.h"

Light::Light(const char* name, uint32_t type, World* world) : world(world), type(type) {
  id = world->registry.Add(this, ElementLight, name);
  PushHead(world->lights, this);
  CurrentRenderer->CreateLight(this);
}

void Light::SetColour(uint8_t red, uint8_t green, uint8_t blue) {
  colour = {blue, green, red, 0};
  CurrentRenderer->UpdateLight(this);
}

void Light::SetPosition(float x, float y, float z) {
  if (IsFinite(Vec3{x, y, z})) position = {x, y, z};
  CurrentRenderer->UpdateLight(this);
}

void Light::SetDirection(float x, float y, float z) {
  Vec3 d = {x, y, z};
  Normalize(d);
  // A zero vector (or one too small or too large to measure) points nowhere: the light keeps its last direction.
  if (IsFinite(d) && Dot(d, d) > 0.0f) direction = d;
  CurrentRenderer->UpdateLight(this);
}

void Light::SetRange(float r) {
  range = r;
  CurrentRenderer->UpdateLight(this);
}

void Light::SetCone(float inner, float outer) {
  innerAngle = inner;
  outerAngle = outer;
  CurrentRenderer->UpdateLight(this);
}

void Light::Destroy() {
  CurrentRenderer->ReleaseLight(this);
  Unlink(world->lights, this);
}
