// The OpenGL back end's lights: eight slots of the CPU lighting rig, as the Direct3D 7 back end fills its device's.
#include "core/allocate.h"
#include "render/gl/gl_renderer.h"
#include "scene/light.h"

namespace {

struct GlLightData {
  int32_t slot;  // 0 to 7, or -1 for an ambient light or a light that found no slot
};

}  // namespace

void GLRenderer::CreateLight(Light* light) {
  auto* data = static_cast<GlLightData*>(Allocate(sizeof(GlLightData), "OGLLight"));
  if (!data) return;
  data->slot = TakeLightSlot(lightSlots_, *light);
  light->rendererData = data;
}

void GLRenderer::UpdateLight(Light* light) {
  const auto* data = static_cast<const GlLightData*>(light->rendererData);
  if (data && (light->type == LightAmbient || data->slot >= 0)) Lighting_SetLight(rig_, data->slot, *light);
}

void GLRenderer::ReleaseLight(Light* light) {
  auto* data = static_cast<GlLightData*>(light->rendererData);
  if (!data) return;
  Lighting_ClearSlot(rig_, data->slot);
  FreeLightSlot(lightSlots_, data->slot);
  Release(data);
  light->rendererData = nullptr;
}
