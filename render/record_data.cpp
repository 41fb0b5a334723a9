// The renderer's data of the scene records, built the same way by every back end.
#include "render/record_data.h"

#include <algorithm>

#include "core/allocate.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "scene/view.h"

namespace {

constexpr float kByteToFloat = 1.0f / 255.0f;

// The flexible vertex format's position kind and normal bit.
constexpr uint32_t kFvfXyz = 0x002, kFvfNormal = 0x010, kFvfPositionMask = 0x00E;

// Truncated toward zero; an edge no unsigned pixel count can hold (negative, huge, not a number)
// is clamped rather than converted, which would be undefined.
uint32_t PixelCount(float v) {
  if (!(v > 0.0f)) return 0;
  if (v >= 4294967040.0f) return 0xFFFFFF00u;
  return static_cast<uint32_t>(v);
}

}  // namespace

void FillViewportData(const View& view, ViewportData& data) {
  data.x = PixelCount(view.left);
  data.y = PixelCount(view.top);
  data.width = PixelCount(view.right - view.left);
  data.height = PixelCount(view.bottom - view.top);
  data.minZ = 0.0f;
  data.maxZ = 1.0f;
}

void CreateViewportData(View* view) {
  view->viewport = static_cast<ViewportData*>(Allocate(sizeof(ViewportData), "ViewportAPI"));
  if (view->viewport) FillViewportData(*view, *view->viewport);
}

void ReleaseViewportData(View* view) {
  Release(view->viewport);
  view->viewport = nullptr;
}

void ColourToFloats(Colour colour, float out[4]) {
  out[0] = colour.red * kByteToFloat;
  out[1] = colour.green * kByteToFloat;
  out[2] = colour.blue * kByteToFloat;
  out[3] = colour.alpha * kByteToFloat;
}

MaterialData* CreateMaterialData(Material* material) {
  material->rendererData = static_cast<MaterialData*>(Allocate(sizeof(MaterialData), "MaterialAPI"));
  return material->rendererData;
}

void FillMaterialData(const Material& material, MaterialData& data) {
  ColourToFloats(material.diffuse, data.diffuse);
  ColourToFloats(material.ambient, data.ambient);
  ColourToFloats(material.specular, data.specular);
  for (float& c : data.specular) c *= material.specularLevel;
  ColourToFloats(material.emissive, data.emissive);
  data.power = 0.0f;
}

void ReleaseMaterialData(Material* material) {
  Release(material->rendererData);
  material->rendererData = nullptr;
}

int32_t TakeLightSlot(uint8_t (&slots)[kLightSlots], const Light& light) {
  if (light.type == LightAmbient) return -1;
  for (int32_t i = 0; i < kLightSlots; ++i) {
    if (!slots[i]) {
      slots[i] = 1;
      return i;
    }
  }
  return -1;
}

void FreeLightSlot(uint8_t (&slots)[kLightSlots], int32_t slot) {
  if (slot >= 0 && slot < kLightSlots) slots[slot] = 0;
}

void ForceAffineColumn(float* m) {
  m[3] = m[7] = m[11] = 0.0f;
  m[15] = 1.0f;
}

bool IndicesBelow(const uint16_t* indices, uint32_t count, uint32_t vertexCount) {
  return std::all_of(indices, indices + count, [vertexCount](uint16_t i) { return i < vertexCount; });
}

bool IsDrawableLitPatchData(const PatchData& data) {
  const bool litLayout = (data.vertexFormat & kFvfPositionMask) == kFvfXyz && (data.vertexFormat & kFvfNormal) &&
                         data.stride >= sizeof(PatchVertexLit);
  return litLayout && data.vertices && IndicesBelow(data.indices, data.indexCount, data.vertexCount);
}
