// The vertex lighting the scenes were made with, computed on the CPU: the Direct3D 7 fixed-function model with
// the program's light and material values, for back ends whose own lighting would draw another picture.
//
// Per vertex, in world space, with N the transformed normal (not renormalised, as the device does not), L the
// unit vector to the light and H the half vector between L and the unit vector to the eye:
//   diffuse  = emissive + ambient * (globalAmbient + sum(light * att * spot)) + diffuse * sum(light * N.L * att * spot)
//   specular = specular * sum(light * (N.H)^power * att * spot), only where N.L > 0 and N.H > 0
// each clamped to 0..1. Light colours are the byte values as they are (not divided by 255). att is 1 for a light
// of range 0 and for directional lights, else 1 / d, and 0 past the range. spot is 1 inside half the inner angle,
// 0 outside half the outer one and linear in the cosine between. A power of 0 makes (N.H)^power 1.
#pragma once

#include <cstdint>

#include "render/record_data.h"
#include "render/renderer.h"
#include "scene/math.h"

class Light;

struct LightingLight {
  uint32_t type = 0;  // LightOmni, LightSpot or LightDirectional; 0: the slot is empty
  float colour[3] = {};
  Vec3 position = {0, 0, 0};
  Vec3 direction = {0, 0, 1};  // unit length; the way the light travels
  float range = 0;             // 0: unlimited
  float cosHalfInner = 1, cosHalfOuter = 1;
};

// What lights the scene: the ambient light's colour (0 to 1) and the eight light slots.
struct LightingRig {
  float ambient[3] = {};
  LightingLight lights[kLightSlots] = {};
};

// A vertex's two colours as red, green, blue, alpha bytes; diffuse alpha is the material's.
struct LitColours {
  uint8_t diffuse[4];
  uint8_t specular[4];
};
static_assert(sizeof(LitColours) == 8);

// The light slots of a back end and the rig they fill, as the Direct3D 7 back end fills its device's: a Light's
// renderer data is its slot, the lowest free one when it is made (-1 for an ambient light, and for a light that
// finds all eight taken).
class LightingSlots {
 public:
  // CreateLight: the slot, allocated with the back end's tag.
  void Create(Light* light, const char* tag);
  // UpdateLight: the light into its slot, or the ambient colour; false when nothing changed.
  bool Update(const Light& light);
  // ReleaseLight: the slot emptied and freed.
  void Release(Light* light);
  // Shutdown: every slot free, the rig dark.
  void Clear();
  const LightingRig& Rig() const { return rig_; }

 private:
  uint8_t taken_[kLightSlots] = {};
  LightingRig rig_;
};

// The matrix's 3 x 3 part inverted and transposed (row vectors): row i is what normal component i adds to x, y, z.
// A part without an inverse gives normals of no length.
void Lighting_NormalMatrix(const float m[16], float normal[9]);

// Puts the light into its slot (or, for an ambient light, sets the rig's ambient colour).
void Lighting_SetLight(LightingRig& rig, int32_t slot, const Light& light);
void Lighting_ClearSlot(LightingRig& rig, int32_t slot);

// The camera's place in world space from a view matrix (row vectors, translation in the fourth row).
Vec3 Lighting_EyeOf(const float view[16]);

// Lights count vertices of stride bytes, each starting with its position and normal (six floats), placed in the
// world by the matrix and seen from eye.
void Lighting_LightVertices(const LightingRig& rig, const MaterialData& material, const float world[16],
                            const Vec3& eye, const uint8_t* vertices, uint32_t stride, uint32_t count, LitColours* out);

// A 0xAARRGGBB word as red, green, blue, alpha bytes.
void Lighting_WordToBytes(uint32_t argb, uint8_t out[4]);
