// The shader back end's lights: eight slots, sent to the lit program in eye space by the reference's rules.
#include <cmath>

#include "core/allocate.h"
#include "render/gles/gles_renderer.h"
#include "scene/light.h"

// A slot light as the reference's device holds it, in world space; an ambient light keeps only its slot of -1.
struct GlesLightData {
  int32_t slot;  // 0 to 7, or -1 for an ambient light or a light that found no slot
  bool enabled;  // from its first UpdateLight on
  uint32_t type;
  float colour[3];  // byte values
  Vec3 position, direction;
  float range;  // 0: unlimited
  float cosHalfInner, cosHalfOuter;
};

void GLESRenderer::CreateLight(Light* light) {
  auto* data = static_cast<GlesLightData*>(Allocate(sizeof(GlesLightData), "GLESLight"));
  if (!data) return;
  *data = {};
  data->slot = TakeLightSlot(lightSlots_, *light);
  data->type = light->type;
  if (data->slot >= 0) slotLights_[data->slot] = data;
  light->rendererData = data;
}

// The ambient light sets the ambient colour (0 to 1); any other light keeps its colour as byte values and the
// cosines of its half angles.
void GLESRenderer::UpdateLight(Light* light) {
  auto* data = static_cast<GlesLightData*>(light->rendererData);
  if (!data) return;
  if (light->type == LightAmbient) {
    ColourToFloats(light->colour, state_.ambient);
    state_.Changed(GroupLights);
    return;
  }
  if (data->slot < 0) return;
  data->enabled = true;
  data->colour[0] = light->colour.red;
  data->colour[1] = light->colour.green;
  data->colour[2] = light->colour.blue;
  data->position = light->position;
  data->direction = light->direction;
  data->range = light->range;
  data->cosHalfInner = std::cos(light->innerAngle * 0.5f);
  data->cosHalfOuter = std::cos(light->outerAngle * 0.5f);
  lightsChanged_ = true;
}

void GLESRenderer::ReleaseLight(Light* light) {
  auto* data = static_cast<GlesLightData*>(light->rendererData);
  if (!data) return;
  if (data->slot >= 0) {
    slotLights_[data->slot] = nullptr;
    FreeLightSlot(lightSlots_, data->slot);
    lightsChanged_ = true;
  }
  Release(data);
  light->rendererData = nullptr;
}

// The enabled lights in slot order, placed by the current view matrix (rows are vectors).
void GLESRenderer::SendLights() {
  const float* v = viewMatrix_;
  int32_t count = 0;
  for (const GlesLightData* light : slotLights_) {
    if (!light || !light->enabled) continue;
    const Vec3& p = light->position;
    const Vec3& d = light->direction;
    float* position = state_.lightPosition[count];
    float* direction = state_.lightDirection[count];
    for (int c = 0; c < 3; ++c) {
      position[c] = p.x * v[c] + p.y * v[4 + c] + p.z * v[8 + c] + v[12 + c];
      direction[c] = d.x * v[c] + d.y * v[4 + c] + d.z * v[8 + c];
      state_.lightColour[count][c] = light->colour[c];
    }
    position[3] = static_cast<float>(light->type);
    direction[3] = 0.0f;
    state_.lightColour[count][3] = 0.0f;
    float* shape = state_.lightShape[count];
    shape[0] = light->range;
    shape[1] = light->cosHalfInner;
    shape[2] = light->cosHalfOuter;
    shape[3] = 0.0f;
    ++count;
  }
  state_.lightCount = count;
  state_.Changed(GroupLights);
  lightsChanged_ = false;
}
