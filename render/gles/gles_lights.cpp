// The shader back end's lights: eight slots, sent to the lit program in world space.
#include <algorithm>
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
  Normalize(data->direction);
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

// The enabled lights in slot order.
void GLESRenderer::SendLights() {
  int32_t count = 0;
  for (const GlesLightData* light : slotLights_) {
    if (!light || !light->enabled) continue;
    const float position[4] = {light->position.x, light->position.y, light->position.z,
                               static_cast<float>(light->type)};
    const float direction[4] = {light->direction.x, light->direction.y, light->direction.z, 0.0f};
    const float colour[4] = {light->colour[0], light->colour[1], light->colour[2], 0.0f};
    const float shape[4] = {light->range, light->cosHalfInner, light->cosHalfOuter, 0.0f};
    std::copy(position, position + 4, state_.lightPosition[count]);
    std::copy(direction, direction + 4, state_.lightDirection[count]);
    std::copy(colour, colour + 4, state_.lightColour[count]);
    std::copy(shape, shape + 4, state_.lightShape[count]);
    ++count;
  }
  state_.lightCount = count;
  state_.Changed(GroupLights);
  lightsChanged_ = false;
}
