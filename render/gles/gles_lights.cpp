// The shader back end's lights: the eight slots of the lighting rig, sent to the lit program in world space.
#include <algorithm>

#include "render/gles/gles_renderer.h"

void GLESRenderer::CreateLight(Light* light) { lights_.Create(light, "GLESLight"); }

void GLESRenderer::UpdateLight(Light* light) {
  if (lights_.Update(*light)) lightsChanged_ = true;
}

void GLESRenderer::ReleaseLight(Light* light) {
  lights_.Release(light);
  lightsChanged_ = true;
}

// The lights in slot order, each as four vectors: place and type, direction, colour, shape.
void GLESRenderer::SendLights() {
  const LightingRig& rig = lights_.Rig();
  std::copy(rig.ambient, rig.ambient + 3, state_.ambient);
  int32_t count = 0;
  for (const LightingLight& light : rig.lights) {
    if (light.type == 0) continue;
    const Vec3& p = light.position;
    const Vec3& d = light.direction;
    const float vectors[4][4] = {{p.x, p.y, p.z, static_cast<float>(light.type)},
                                 {d.x, d.y, d.z, 0.0f},
                                 {light.colour[0], light.colour[1], light.colour[2], 0.0f},
                                 {light.range, light.cosHalfInner, light.cosHalfOuter, 0.0f}};
    std::copy(vectors[0], vectors[0] + 4, state_.lightPosition[count]);
    std::copy(vectors[1], vectors[1] + 4, state_.lightDirection[count]);
    std::copy(vectors[2], vectors[2] + 4, state_.lightColour[count]);
    std::copy(vectors[3], vectors[3] + 4, state_.lightShape[count]);
    ++count;
  }
  state_.lightCount = count;
  state_.Changed(GroupLights);
  lightsChanged_ = false;
}
