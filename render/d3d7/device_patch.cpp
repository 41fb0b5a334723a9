// A patch copied into the Direct3D 7 device's vertex format.
#include "render/d3d7/device_patch.h"

#include <algorithm>
#include <cstring>

#include "core/allocate.h"
#include "core/error.h"
#include "scene/material.h"
#include "scene/mesh.h"

namespace {

constexpr uint32_t kFixedVertexBytes = 24;  // position and normal, or position, reserved word and two colours
constexpr uint32_t kPairBytes = 8;

uint32_t TexturePairs(const Patch& patch) {
  uint32_t count = patch.material ? patch.material->textureCount : 0;
  return std::max(count, 1u);
}

// The source vertex's fixed part and its one coordinate pair, as the device vertex starts them.
void FixedPart(const Patch& patch, uint32_t i, uint8_t* fixed, float pair[2]) {
  if (patch.kind == PatchLit) {
    const PatchVertexLit& v = static_cast<const PatchVertexLit*>(patch.vertices)[i];
    std::memcpy(fixed, &v, kFixedVertexBytes);
    pair[0] = v.u;
    pair[1] = v.v;
    return;
  }
  const PatchVertexColoured& v = static_cast<const PatchVertexColoured*>(patch.vertices)[i];
  std::memcpy(fixed, &v.position, sizeof v.position);
  std::memcpy(fixed + 16, &v.diffuse, sizeof v.diffuse);
  std::memcpy(fixed + 20, &v.specular, sizeof v.specular);
  pair[0] = v.u;
  pair[1] = v.v;
}

}  // namespace

PatchData* NewDevicePatch(const Patch& patch) {
  uint32_t format;
  if (patch.kind == PatchLit) {
    format = kFvfLitPatch;
  } else if (patch.kind == PatchColoured) {
    format = kFvfColouredPatch;
  } else {
    ReportError("Uknown patch type", true);
    return nullptr;
  }
  const uint32_t pairs = TexturePairs(patch);
  const uint32_t stride = kFixedVertexBytes + kPairBytes * pairs;
  auto* data = static_cast<PatchData*>(Allocate(sizeof(PatchData), "Api Patch"));
  auto* vertices = static_cast<uint8_t*>(Allocate(size_t{patch.vertexCount} * stride, "APi Vert"));
  auto* indices = static_cast<uint16_t*>(Allocate(size_t{patch.indexCount} * sizeof(uint16_t), "Api Patch Indices"));
  if (!data || !vertices || !indices) {
    Release(data);
    Release(vertices);
    Release(indices);
    return nullptr;
  }
  std::memset(vertices, 0, size_t{patch.vertexCount} * stride);
  for (uint32_t i = 0; i < patch.vertexCount; ++i) {
    uint8_t* out = vertices + size_t{i} * stride;
    float pair[2];
    FixedPart(patch, i, out, pair);
    for (uint32_t k = 0; k < pairs; ++k) std::memcpy(out + kFixedVertexBytes + kPairBytes * k, pair, kPairBytes);
  }
  if (patch.indexCount) std::memcpy(indices, patch.indices, size_t{patch.indexCount} * sizeof(uint16_t));
  *data = {format + kFvfTexturePairStep * pairs, stride, patch.vertexCount, patch.indexCount, vertices, indices};
  return data;
}

void FreeDevicePatch(PatchData* data) {
  if (!data) return;
  Release(data->vertices);
  Release(data->indices);
  Release(data);
}
