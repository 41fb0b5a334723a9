// The vertex lighting the scenes were made with, computed on the CPU.
#include "render/vertex_lighting.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/allocate.h"
#include "scene/light.h"

namespace {

// Row vectors: a point p maps to p x M, a normal to n x (M's 3 x 3 part inverted and transposed).
struct Placement {
  float m[16];
  float normal[9];  // row i: what normal component i adds to x, y, z
};

Placement PlacementOf(const float* m) {
  Placement p;
  std::memcpy(p.m, m, sizeof p.m);
  Lighting_NormalMatrix(m, p.normal);
  return p;
}

Vec3 PlacePoint(const Placement& p, const float* v) {
  const float* m = p.m;
  return {v[0] * m[0] + v[1] * m[4] + v[2] * m[8] + m[12], v[0] * m[1] + v[1] * m[5] + v[2] * m[9] + m[13],
          v[0] * m[2] + v[1] * m[6] + v[2] * m[10] + m[14]};
}

Vec3 PlaceNormal(const Placement& p, const float* n) {
  const float* m = p.normal;
  return {n[0] * m[0] + n[1] * m[3] + n[2] * m[6], n[0] * m[1] + n[1] * m[4] + n[2] * m[7],
          n[0] * m[2] + n[1] * m[5] + n[2] * m[8]};
}

Vec3 Sub(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
float Length(const Vec3& v) { return std::sqrt(Dot(v, v)); }

// A vector of no length stays zero, so that it lights nothing.
Vec3 Unit(const Vec3& v) {
  float length = Length(v);
  return length > 0.0f ? Vec3{v.x / length, v.y / length, v.z / length} : Vec3{0, 0, 0};
}

uint8_t ToByte(float c) { return static_cast<uint8_t>(std::lround(std::clamp(c, 0.0f, 1.0f) * 255.0f)); }

// How much of the light reaches the point (attenuation times the spot's cone) and the unit vector towards it;
// 0 when none does.
float Reach(const LightingLight& light, const Vec3& point, Vec3* toLight) {
  if (light.type == LightDirectional) {
    *toLight = {-light.direction.x, -light.direction.y, -light.direction.z};
    return 1.0f;
  }
  Vec3 v = Sub(light.position, point);
  float d = Length(v);
  if (!(d > 0.0f) || (light.range > 0.0f && d > light.range)) return 0.0f;
  *toLight = {v.x / d, v.y / d, v.z / d};
  float reach = light.range > 0.0f ? 1.0f / d : 1.0f;
  if (light.type != LightSpot) return reach;
  float rho = -Dot(light.direction, *toLight);
  if (rho > light.cosHalfInner) return reach;
  if (rho <= light.cosHalfOuter) return 0.0f;
  return reach * (rho - light.cosHalfOuter) / (light.cosHalfInner - light.cosHalfOuter);
}

}  // namespace

// The cofactors of the 3 x 3 part over its determinant are the transposed inverse.
void Lighting_NormalMatrix(const float m[16], float normal[9]) {
  const float a = m[0], b = m[1], c = m[2], d = m[4], e = m[5], f = m[6], g = m[8], h = m[9], i = m[10];
  const float cof[9] = {e * i - f * h, f * g - d * i, d * h - e * g, c * h - b * i, a * i - c * g,
                        b * g - a * h, b * f - c * e, c * d - a * f, a * e - b * d};
  const float det = a * cof[0] + b * cof[1] + c * cof[2];
  const float scale = (det != 0.0f && std::isfinite(det)) ? 1.0f / det : 0.0f;
  for (int k = 0; k < 9; ++k) normal[k] = cof[k] * scale;
}

void LightingSlots::Create(Light* light, const char* tag) {
  auto* slot = static_cast<int32_t*>(Allocate(sizeof(int32_t), tag));
  if (!slot) return;
  *slot = TakeLightSlot(taken_, *light);
  light->rendererData = slot;
}

bool LightingSlots::Update(const Light& light) {
  const auto* slot = static_cast<const int32_t*>(light.rendererData);
  if (!slot || (light.type != LightAmbient && *slot < 0)) return false;
  Lighting_SetLight(rig_, *slot, light);
  return true;
}

void LightingSlots::Release(Light* light) {
  auto* slot = static_cast<int32_t*>(light->rendererData);
  if (!slot) return;
  Lighting_ClearSlot(rig_, *slot);
  FreeLightSlot(taken_, *slot);
  ::Release(slot);
  light->rendererData = nullptr;
}

void LightingSlots::Clear() { *this = LightingSlots(); }

void Lighting_SetLight(LightingRig& rig, int32_t slot, const Light& light) {
  const float colour[3] = {static_cast<float>(light.colour.red), static_cast<float>(light.colour.green),
                           static_cast<float>(light.colour.blue)};
  if (light.type == LightAmbient) {
    for (int c = 0; c < 3; ++c) rig.ambient[c] = colour[c] / 255.0f;
    return;
  }
  if (slot < 0 || slot >= kLightSlots) return;
  LightingLight& l = rig.lights[slot];
  l.type = light.type;
  std::copy(colour, colour + 3, l.colour);
  l.position = light.position;
  l.direction = Unit(light.direction);
  l.range = light.range;
  l.cosHalfInner = std::cos(light.innerAngle * 0.5f);
  l.cosHalfOuter = std::cos(light.outerAngle * 0.5f);
}

void Lighting_ClearSlot(LightingRig& rig, int32_t slot) {
  if (slot >= 0 && slot < kLightSlots) rig.lights[slot] = {};
}

// The eye maps to the origin: eye x R + T = 0, so eye = -T x R^-1.
Vec3 Lighting_EyeOf(const float view[16]) {
  Placement p = PlacementOf(view);
  // p.normal holds R^-1 transposed: row i of it is column i of R^-1.
  const float* n = p.normal;
  const float t[3] = {view[12], view[13], view[14]};
  return {-(t[0] * n[0] + t[1] * n[1] + t[2] * n[2]), -(t[0] * n[3] + t[1] * n[4] + t[2] * n[5]),
          -(t[0] * n[6] + t[1] * n[7] + t[2] * n[8])};
}

void Lighting_LightVertices(const LightingRig& rig, const MaterialData& material, const float world[16],
                            const Vec3& eye, const uint8_t* vertices, uint32_t stride, uint32_t count,
                            LitColours* out) {
  const Placement placement = PlacementOf(world);
  const uint8_t alpha = ToByte(material.diffuse[3]);
  for (uint32_t v = 0; v < count; ++v, vertices += stride) {
    float xyz[6];
    std::memcpy(xyz, vertices, sizeof xyz);
    const Vec3 point = PlacePoint(placement, xyz);
    const Vec3 normal = PlaceNormal(placement, xyz + 3);
    const Vec3 toEye = Unit(Sub(eye, point));
    float ambient[3] = {}, diffuse[3] = {}, specular[3] = {};
    for (const LightingLight& light : rig.lights) {
      if (light.type == 0) continue;
      Vec3 toLight;
      const float reach = Reach(light, point, &toLight);
      if (reach <= 0.0f) continue;
      const float nl = Dot(normal, toLight);
      float shine = 0.0f;
      if (nl > 0.0f) {
        const Vec3 half = Unit({toLight.x + toEye.x, toLight.y + toEye.y, toLight.z + toEye.z});
        const float nh = Dot(normal, half);
        if (nh > 0.0f) shine = material.power == 0.0f ? 1.0f : std::pow(nh, material.power);
      }
      for (int c = 0; c < 3; ++c) {
        ambient[c] += light.colour[c] * reach;
        diffuse[c] += light.colour[c] * reach * std::max(nl, 0.0f);
        specular[c] += light.colour[c] * reach * shine;
      }
    }
    LitColours& o = out[v];
    for (int c = 0; c < 3; ++c) {
      o.diffuse[c] = ToByte(material.emissive[c] + material.ambient[c] * (rig.ambient[c] + ambient[c]) +
                            material.diffuse[c] * diffuse[c]);
      o.specular[c] = ToByte(material.specular[c] * specular[c]);
    }
    o.diffuse[3] = alpha;
    o.specular[3] = 0;
  }
}

void Lighting_WordToBytes(uint32_t argb, uint8_t out[4]) {
  out[0] = static_cast<uint8_t>(argb >> 16);
  out[1] = static_cast<uint8_t>(argb >> 8);
  out[2] = static_cast<uint8_t>(argb);
  out[3] = static_cast<uint8_t>(argb >> 24);
}
