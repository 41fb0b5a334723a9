// Material: colours, specular values, blend mode and up to two textures, mirrored by the renderer.
#pragma once

#include <cstdint>

#include "scene/colour.h"
#include "scene/registry.h"

class Texture;
class World;
struct MaterialData;

constexpr uint32_t kMaterialStages = 2;

class Material {
 public:
  // Registers (kind 2), joins the World's material list, then the renderer's CreateMaterial.
  Material(const char* name, World* world);
  Material(const Material&) = delete;
  Material& operator=(const Material&) = delete;

  ElementId id;
  uint32_t mode = 0;       // blend and stage mode 0..4, the renderer's to interpret
  uint32_t fileWord1 = 0;  // carried from the scene file
  Colour ambient = {0, 0, 0, 0};
  Colour diffuse = {0, 0, 0, 0};
  Colour specular = {0, 0, 0, 0};
  Colour emissive = {0, 0, 0, 0};
  uint32_t fileWord2 = 0;  // carried from the scene file
  float specularLevel = 0;
  float shininess = 0;
  uint32_t textureCount = 0;
  Texture* textures[kMaterialStages] = {};
  uint32_t stageValues[kMaterialStages] = {};
  World* world;
  Material* prev = nullptr;
  Material* next = nullptr;
  MaterialData* rendererData = nullptr;  // the renderer's

  // Each stores and then runs the renderer's UpdateMaterial.
  void SetAmbient(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
  void SetDiffuse(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
  void SetSpecular(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
  void SetEmissive(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
  void SetSpecularPower(float level, float shininess);
  void SetMode(uint32_t mode);
  // Store only: the renderer reads them when the material is made current. Stages past 1 are ignored.
  void SetTextureCount(uint32_t count);
  void SetTexture(uint32_t stage, Texture* texture, uint32_t value);
  // The renderer's ReleaseMaterial, then unlinks.
  void Destroy();
};
