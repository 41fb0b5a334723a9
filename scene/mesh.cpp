// Mesh objects: transform from position, scale and quaternion, bounds, visibility and patch drawing.
#include "scene/mesh.h"

#include <cmath>
#include <cstring>

#include "core/allocate.h"
#include "render/renderer.h"
#include "scene/camera.h"
#include "scene/list.h"
#include "scene/view.h"
#include "scene/world.h"

uint32_t PatchVertexSize(uint32_t kind) {
  switch (kind) {
    case PatchLit:
      return sizeof(PatchVertexLit);
    case PatchColoured:
      return sizeof(PatchVertexColoured);
    default:
      return 0;
  }
}

Vec3 PatchVertexPosition(const Patch& patch, uint32_t i) {
  // Both vertex kinds start with the position.
  Vec3 p;
  std::memcpy(&p, static_cast<const uint8_t*>(patch.vertices) + static_cast<size_t>(i) * PatchVertexSize(patch.kind),
              sizeof p);
  return p;
}

MeshObject::MeshObject(const char* objectName, World* world) : world(world) {
  std::strncpy(name, objectName, sizeof name - 1);
  id = world->registry.Add(this, ElementMesh, name);
  PushHead(world->meshes, this);
}

void MeshObject::SetPosition(float x, float y, float z) {
  position = {x, y, z};
  flags |= MeshPositionChanged;
}

void MeshObject::SetScale(float x, float y, float z) {
  scale = {x, y, z};
  flags |= MeshScaleChanged;
}

void MeshObject::SetRotation(const Quaternion& q) {
  if (HasFiniteRotation(q)) rotation = q;
  flags |= MeshRotationChanged | MeshQuaternionMode;
}

void MeshObject::Destroy() {
  for (uint32_t i = 0; i < patchCount; ++i) {
    CurrentRenderer->ReleasePatch(&patches[i]);
    Release(patches[i].vertices);
    Release(patches[i].indices);
  }
  Release(patches);
  patches = nullptr;
  patchCount = 0;
  Unlink(world->meshes, this);
}

void MeshObject::Draw(uint32_t vis) {
  CurrentRenderer->SetWorldMatrix(worldMatrix);
  for (uint32_t i = 0; i < patchCount; ++i) {
    CurrentRenderer->SetClipping(static_cast<int32_t>(vis));
    CurrentRenderer->SetMaterial(patches[i].material);
    CurrentRenderer->DrawPatch(&patches[i]);
  }
}

void MeshObject::UpdateTransform() {
  if (flags & (MeshRotationChanged | MeshScaleChanged)) {
    if (flags & MeshRotationChanged) QuaternionToRotation(rotation, rotationMatrix);
    const float scaling[16] = {scale.x, 0, 0, 0, 0, scale.y, 0, 0, 0, 0, scale.z, 0, 0, 0, 0, 1};
    float scaled[16];
    MultiplyRotation(scaling, rotationMatrix, scaled);
    // A scale so large that the scaled turn overflows keeps the last sound one.
    bool finite = true;
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 3; ++col) finite = finite && std::isfinite(scaled[row * 4 + col]);
    }
    if (finite) {
      for (int row = 0; row < 3; ++row) std::memcpy(local + row * 4, scaled + row * 4, 3 * sizeof(float));
    }
  }
  if (flags & MeshPositionChanged) {
    local[12] = position.x;
    local[13] = position.y;
    local[14] = position.z;
  }
  if (flags & MeshChangeMarks) std::memcpy(worldMatrix, local, sizeof worldMatrix);
  flags &= ~static_cast<uint32_t>(MeshChangeMarks);
}

void MeshObject::ComputeBounds() {
  bool first = true;
  for (uint32_t p = 0; p < patchCount; ++p) {
    for (uint32_t i = 0; i < patches[p].vertexCount; ++i) {
      Vec3 v = PatchVertexPosition(patches[p], i);
      if (first) {
        boundsMin = boundsMax = v;
        first = false;
      }
      boundsMin = {std::fmin(boundsMin.x, v.x), std::fmin(boundsMin.y, v.y), std::fmin(boundsMin.z, v.z)};
      boundsMax = {std::fmax(boundsMax.x, v.x), std::fmax(boundsMax.y, v.y), std::fmax(boundsMax.z, v.z)};
    }
  }
  float largest = 0.0f;
  for (int c = 0; c < 8; ++c) {
    Vec3& corner = boundsCorners[c];
    corner = {(c & 1) ? boundsMax.x : boundsMin.x, (c & 2) ? boundsMax.y : boundsMin.y,
              (c & 4) ? boundsMax.z : boundsMin.z};
    largest = std::fmax(largest, std::sqrt(Dot(corner, corner)));
  }
  sphere.radius = largest;
  sphere.radiusSquared = largest * largest;
}

void MeshObject::GetBounds(Vec3* min, Vec3* max) {
  *min = boundsMin;
  *max = boundsMax;
}

uint32_t MeshObject::Visible(View* view) {
  const Camera* camera = view->camera;
  if (!camera) return 2;
  Vec3 d = {position.x - camera->position.x, position.y - camera->position.y, position.z - camera->position.z};
  return 2.0f * sphere.radius + std::sqrt(view->farSquared) >= std::sqrt(Dot(d, d)) ? 2 : 0;
}

namespace {

constexpr uint32_t kBoxStrip = 5;
constexpr uint32_t kCircleStrip = 9;

LitVertex At(float x, float y, float z) { return {x, y, z, 0, 0, 0, 0, 0, 0, 0}; }

}  // namespace

void MeshObject::DrawBounds() {
  const Vec3& lo = boundsMin;
  const Vec3& hi = boundsMax;
  // Bottom, top, front and back faces cover all twelve edges.
  LitVertex faces[4][kBoxStrip] = {
      {At(lo.x, lo.y, lo.z), At(hi.x, lo.y, lo.z), At(hi.x, hi.y, lo.z), At(lo.x, hi.y, lo.z), At(lo.x, lo.y, lo.z)},
      {At(lo.x, lo.y, hi.z), At(hi.x, lo.y, hi.z), At(hi.x, hi.y, hi.z), At(lo.x, hi.y, hi.z), At(lo.x, lo.y, hi.z)},
      {At(lo.x, lo.y, lo.z), At(hi.x, lo.y, lo.z), At(hi.x, lo.y, hi.z), At(lo.x, lo.y, hi.z), At(lo.x, lo.y, lo.z)},
      {At(lo.x, hi.y, lo.z), At(hi.x, hi.y, lo.z), At(hi.x, hi.y, hi.z), At(lo.x, hi.y, hi.z), At(lo.x, hi.y, lo.z)},
  };
  for (LitVertex* strip : faces) CurrentRenderer->DrawPrimitive(PrimitiveLineStrip, strip, kBoxStrip, nullptr);
  // The sphere as three great circles, in the xy, yz and zx planes.
  for (int plane = 0; plane < 3; ++plane) {
    LitVertex circle[kCircleStrip];
    for (uint32_t i = 0; i < kCircleStrip; ++i) {
      float a = 6.2831855f * static_cast<float>(i) / static_cast<float>(kCircleStrip - 1);
      float c = sphere.radius * std::cos(a), s = sphere.radius * std::sin(a);
      circle[i] = plane == 0 ? At(c, s, 0) : plane == 1 ? At(0, c, s) : At(s, 0, c);
    }
    CurrentRenderer->DrawPrimitive(PrimitiveLineStrip, circle, kCircleStrip, nullptr);
  }
}
