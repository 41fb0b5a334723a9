// Scene objects: the polymorphic SceneObject, the MeshObject drawn patch by patch, and Patch.
#pragma once

#include <cstdint>

#include "scene/math.h"
#include "scene/registry.h"

class Material;
class Move;
class View;
class World;

enum PatchKind : uint32_t {
  PatchLit = 4,        // PatchVertexLit, drawn with lighting
  PatchColoured = 64,  // PatchVertexColoured, carries its own colours, drawn unlit
};

struct PatchVertexLit {
  Vec3 position;
  Vec3 normal;
  float u, v;
};
static_assert(sizeof(PatchVertexLit) == 32);

struct PatchVertexColoured {
  Vec3 position;
  float unused[3];
  uint32_t diffuse;   // 0xAARRGGBB
  uint32_t specular;  // 0xAARRGGBB
  float u, v;
};
static_assert(sizeof(PatchVertexColoured) == 40);

// 32 or 40 bytes by kind; 0 for any other kind.
uint32_t PatchVertexSize(uint32_t kind);

// One drawable batch: a vertex array, a triangle list of 16-bit indices (each below
// vertexCount) and a material.
struct Patch {
  uint32_t kind;
  Material* material;  // may be null
  uint32_t vertexCount;
  uint32_t indexCount;
  void* vertices;              // PatchVertexLit or PatchVertexColoured by kind, tag "PatchVert"
  uint16_t* indices;           // tag "PatchIndex"
  uintptr_t rendererWords[2];  // the renderer's, 0 until CreatePatch
};

// The position of vertex i (i < vertexCount) of either kind.
Vec3 PatchVertexPosition(const Patch& patch, uint32_t i);

class SceneObject {
 public:
  virtual ~SceneObject() = default;
  // Releases what the object holds; its own storage is freed by its owner afterwards.
  virtual void Destroy() {}
  virtual void Draw(uint32_t) {}
  virtual void UpdateTransform() {}
  virtual void DrawBounds() {}
  virtual void ComputeBounds() {}
  virtual void GetBounds(Vec3*, Vec3*) {}
  // 0 not visible, 1 wholly visible, 2 partly visible.
  virtual uint32_t Visible(View*) { return 1; }
};

class MeshObject;

struct BoundingSphere {
  float radius;
  float radiusSquared;
  MeshObject* owner;
};

enum MeshFlags : uint32_t {
  MeshQuaternionMode = 2,
  MeshRotationChanged = 16,
  MeshPositionChanged = 32,
  MeshScaleChanged = 64,
  MeshUnusedChange = 128,
  MeshChangeMarks = MeshRotationChanged | MeshPositionChanged | MeshScaleChanged | MeshUnusedChange,
};

constexpr int kMeshNameSize = 64;

class MeshObject : public SceneObject {
 public:
  // Registers (kind 1) and joins the World's mesh list; flags 114.
  MeshObject(const char* name, World* world);
  MeshObject(const MeshObject&) = delete;
  MeshObject& operator=(const MeshObject&) = delete;

  char name[kMeshNameSize] = {};
  ElementId id;
  World* world;
  MeshObject* prev = nullptr;
  MeshObject* next = nullptr;
  MeshObject* parent = nullptr;
  MeshObject* children = nullptr;
  Move* move = nullptr;
  Vec3 position = {0, 0, 0};
  float positionWord = 0;  // carried from the file
  Vec3 scale = {1, 1, 1};
  float scaleWord = 0;  // carried from the file
  Quaternion rotation = {0, 0, 0, 0};
  float rotationMatrix[16] = {};
  float local[16] = {};
  float worldMatrix[16] = {};
  uint32_t flags = MeshQuaternionMode | MeshRotationChanged | MeshPositionChanged | MeshScaleChanged;
  BoundingSphere sphere = {0, 0, this};
  Vec3 boundsCorners[8] = {};
  Vec3 boundsMin = {0, 0, 0};
  Vec3 boundsMax = {0, 0, 0};
  uint32_t patchCount = 0;
  Patch* patches = nullptr;  // tag "Patch"

  void SetPosition(float x, float y, float z);
  void SetScale(float x, float y, float z);
  void SetRotation(const Quaternion& q);  // one whose rotation is not finite is ignored

  // Releases every patch and the patch array, then unlinks.
  void Destroy() override;
  // The renderer's SetWorldMatrix, then per patch SetClipping (vis), SetMaterial, DrawPatch.
  void Draw(uint32_t vis) override;
  // Recomputes what changed; a scale-only change reuses the cached rotation.
  void UpdateTransform() override;
  // Line strips of the box and the sphere through DrawPrimitive.
  void DrawBounds() override;
  void ComputeBounds() override;
  void GetBounds(Vec3* min, Vec3* max) override;
  // 2 when 2 x radius + far >= the distance from the view's camera; else 0.
  uint32_t Visible(View* view) override;
};
