// The vertex lighting the OpenGL back end computes: the Direct3D 7 model the scenes were made with.
#include <gtest/gtest.h>

#include <cmath>

#include "render/vertex_lighting.h"
#include "scene/light.h"

namespace {

constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
constexpr float kScaledByTwo[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};

struct LightingCase {
  const char* what;
  uint32_t type;  // 0: no light in the slot
  uint8_t red;
  Vec3 position, direction;
  float range, inner, outer;
  const float* world;
  uint8_t diffuse, specular;  // red bytes expected
};

// A vertex at the origin facing +z, seen from (0, 0, 10); diffuse 0.5, ambient 0.25, specular 0.1 (the colour
// times its level), power 0.
TEST(VertexLighting, LightsAVertexAsTheDirect3DModelDoes) {
  const LightingCase cases[] = {
      {"unlimited omni in front", LightOmni, 1, {0, 0, 2}, {0, 0, 1}, 0, 0, 0, kIdentity, 191, 26},
      {"ranged omni: 1 / d", LightOmni, 1, {0, 0, 2}, {0, 0, 1}, 10, 0, 0, kIdentity, 96, 13},
      {"past its range: nothing", LightOmni, 1, {0, 0, 2}, {0, 0, 1}, 1.5f, 0, 0, kIdentity, 0, 0},
      {"behind: ambient only", LightOmni, 1, {0, 0, -2}, {0, 0, 1}, 0, 0, 0, kIdentity, 64, 0},
      {"directional", LightDirectional, 1, {9, 9, 9}, {0, 0, -3}, 0, 0, 0, kIdentity, 191, 26},
      {"inside the inner cone", LightSpot, 1, {0, 0, 2}, {0, 0, -1}, 0, 0.5f, 1, kIdentity, 191, 26},
      {"between the cones: linear in the cosine", LightSpot, 1, {2, 0, 2}, {0, 0, -1}, 0, 1, 2, kIdentity, 76, 13},
      {"outside the outer cone", LightSpot, 1, {10, 0, 1}, {0, 0, -1}, 0, 1, 2, kIdentity, 0, 0},
      {"scaled object: its normal is not renormalised", LightOmni, 1, {0, 0, 2}, {0, 0, 1}, 0, 0, 0, kScaledByTwo,
       128, 26},
      {"bright light: each colour clamped", LightOmni, 200, {0, 0, 2}, {0, 0, 1}, 0, 0, 0, kIdentity, 255, 255},
  };
  MaterialData material = {{0.5f, 0.5f, 0.5f, 0.5f}, {0.25f, 0.25f, 0.25f, 1}, {0.1f, 0.1f, 0.1f, 1}, {}, 0.0f};
  const float view[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -10, 1};
  const Vec3 eye = Lighting_EyeOf(view);
  EXPECT_FLOAT_EQ(eye.z, 10.0f);
  const float vertex[8] = {0, 0, 0, 0, 0, 1, 0, 0};
  for (const LightingCase& c : cases) {
    LightingRig rig;
    LightingLight& l = rig.lights[3];
    l.type = c.type;
    l.colour[0] = c.red;
    l.position = c.position;
    l.direction = c.direction;
    Normalize(l.direction);
    l.range = c.range;
    l.cosHalfInner = std::cos(c.inner / 2);
    l.cosHalfOuter = std::cos(c.outer / 2);
    LitColours out;
    Lighting_LightVertices(rig, material, c.world, eye, reinterpret_cast<const uint8_t*>(vertex), sizeof vertex, 1,
                           &out);
    EXPECT_EQ(out.diffuse[0], c.diffuse) << c.what;
    EXPECT_EQ(out.specular[0], c.specular) << c.what;
    EXPECT_EQ(out.diffuse[1], 0) << c.what << ": only the red light's channel";
    EXPECT_EQ(out.diffuse[3], 128) << "alpha is the material's diffuse alpha";
  }
  // No light: the emissive colour and the ambient light's share.
  LightingRig rig;
  rig.ambient[0] = 0.4f;
  material.emissive[0] = 0.1f;
  LitColours out;
  Lighting_LightVertices(rig, material, kIdentity, eye, reinterpret_cast<const uint8_t*>(vertex), sizeof vertex, 1,
                         &out);
  EXPECT_EQ(out.diffuse[0], 51);
  EXPECT_EQ(out.specular[0], 0);
}

}  // namespace
