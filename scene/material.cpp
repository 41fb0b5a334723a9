// Material: colours, specular values, blend mode and textures, mirrored by the renderer.
#include "scene/material.h"

#include "render/renderer.h"
#include "scene/list.h"
#include "scene/world.h"

Material::Material(const char* name, World* world) : world(world) {
  id = world->registry.Add(this, ElementMaterial, name);
  PushHead(world->materials, this);
  CurrentRenderer->CreateMaterial(this);
}

void Material::SetAmbient(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  ambient = {b, g, r, a};
  CurrentRenderer->UpdateMaterial(this);
}

void Material::SetDiffuse(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  diffuse = {b, g, r, a};
  CurrentRenderer->UpdateMaterial(this);
}

void Material::SetSpecular(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  specular = {b, g, r, a};
  CurrentRenderer->UpdateMaterial(this);
}

void Material::SetEmissive(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  emissive = {b, g, r, a};
  CurrentRenderer->UpdateMaterial(this);
}

void Material::SetSpecularPower(float level, float power) {
  specularLevel = level;
  shininess = power;
  CurrentRenderer->UpdateMaterial(this);
}

void Material::SetMode(uint32_t blendMode) {
  mode = blendMode;
  CurrentRenderer->UpdateMaterial(this);
}

// The renderer walks textures[0 .. textureCount), so the count never exceeds the stages.
void Material::SetTextureCount(uint32_t count) { textureCount = count < kMaterialStages ? count : kMaterialStages; }

void Material::SetTexture(uint32_t stage, Texture* texture, uint32_t value) {
  if (stage >= kMaterialStages) return;
  textures[stage] = texture;
  stageValues[stage] = value;
}

void Material::Destroy() {
  CurrentRenderer->ReleaseMaterial(this);
  Unlink(world->materials, this);
}
