// The OpenGL back end's lights: eight GL light slots lit as the Direct3D 7 back end lights them.
#include <cmath>

#include "core/allocate.h"
#include "render/gl/gl_api.h"
#include "render/gl/gl_renderer.h"
#include "scene/light.h"

// The light's slot and what GL was last given; the placement is world space, sent again in eye
// space whenever the camera changes.
struct GlLightData {
  int32_t slot;     // 0 to 7, or -1 for an ambient light or a light that found no slot
  float colour[4];  // as sent: byte values for slot lights, 0 to 1 for the ambient light
  uint32_t type;
  float position[4];   // w = 0: a directional light, shining along -xyz
  float direction[3];  // spots only
};

namespace {

constexpr float kDegreesPerRadian = 57.29578f;
constexpr float kGlMaxSpotCutoff = 90.0f;
constexpr float kGlNoSpotCutoff = 180.0f;
constexpr float kGlMaxSpotExponent = 128.0f;

// A Direct3D spot is full inside half the inner angle, dark outside half the outer one and
// fades in between; GL has one cut-off angle and a power of the cosine. The cut-off is the
// outer half-angle, and the power puts half the light at the middle of the fade.
void SpotShape(float inner, float outer, float* cutoff, float* exponent) {
  float halfOuter = std::fmax(outer, 0.0f) * 0.5f;
  *cutoff = std::fmin(halfOuter * kDegreesPerRadian, kGlMaxSpotCutoff);
  *exponent = 0.0f;
  float middle = (std::fmax(inner, 0.0f) * 0.5f + halfOuter) * 0.5f;
  float cosMiddle = std::cos(middle);
  if (inner < outer && cosMiddle > 0.0f && cosMiddle < 1.0f) {
    *exponent = std::fmin(std::log(0.5f) / std::log(cosMiddle), kGlMaxSpotExponent);
  }
}

}  // namespace

void GLRenderer::CreateLight(Light* light) {
  auto* data = static_cast<GlLightData*>(Allocate(sizeof(GlLightData), "OGLLight"));
  if (!data) return;
  *data = {};
  data->slot = TakeLightSlot(lightSlots_, *light);
  data->type = light->type;
  if (data->slot >= 0) slotLights_[data->slot] = data;
  light->rendererData = data;
}

void GLRenderer::PlaceLight(const GlLightData& light) {
  GLenum id = GL_LIGHT0 + light.slot;
  gl_.Lightfv(id, GL_POSITION, light.position);
  if (light.type == LightSpot) gl_.Lightfv(id, GL_SPOT_DIRECTION, light.direction);
}

// The colour goes to GL as the byte values themselves and the range chooses constant or linear
// attenuation, as the Direct3D 7 back end sends them: the scenes were lit for that.
void GLRenderer::UpdateLight(Light* light) {
  auto* data = static_cast<GlLightData*>(light->rendererData);
  if (!data) return;
  if (light->type == LightAmbient) {
    ColourToFloats(light->colour, data->colour);
    gl_.LightModelfv(GL_LIGHT_MODEL_AMBIENT, data->colour);
    return;
  }
  if (data->slot < 0) return;
  GLenum id = GL_LIGHT0 + data->slot;
  data->colour[0] = light->colour.red;
  data->colour[1] = light->colour.green;
  data->colour[2] = light->colour.blue;
  data->colour[3] = 0.0f;
  gl_.Lightfv(id, GL_AMBIENT, data->colour);
  gl_.Lightfv(id, GL_DIFFUSE, data->colour);
  gl_.Lightfv(id, GL_SPECULAR, data->colour);
  bool unlimited = light->range == 0.0f;
  gl_.Lightf(id, GL_CONSTANT_ATTENUATION, unlimited ? 1.0f : 0.0f);
  gl_.Lightf(id, GL_LINEAR_ATTENUATION, unlimited ? 0.0f : 1.0f);
  gl_.Lightf(id, GL_QUADRATIC_ATTENUATION, 0.0f);
  float cutoff = kGlNoSpotCutoff, exponent = 0.0f;
  if (light->type == LightSpot) SpotShape(light->innerAngle, light->outerAngle, &cutoff, &exponent);
  gl_.Lightf(id, GL_SPOT_CUTOFF, cutoff);
  gl_.Lightf(id, GL_SPOT_EXPONENT, exponent);

  const Vec3& p = light->position;
  const Vec3& d = light->direction;
  if (light->type == LightDirectional) {
    data->position[0] = -d.x;
    data->position[1] = -d.y;
    data->position[2] = -d.z;
    data->position[3] = 0.0f;
  } else {
    data->position[0] = p.x;
    data->position[1] = p.y;
    data->position[2] = p.z;
    data->position[3] = 1.0f;
  }
  data->direction[0] = d.x;
  data->direction[1] = d.y;
  data->direction[2] = d.z;
  gl_.MatrixMode(GL_MODELVIEW);
  gl_.PushMatrix();
  gl_.LoadMatrixf(viewMatrix_);
  PlaceLight(*data);
  gl_.PopMatrix();
  gl_.Enable(id);
}

void GLRenderer::ReleaseLight(Light* light) {
  auto* data = static_cast<GlLightData*>(light->rendererData);
  if (!data) return;
  if (data->slot >= 0) {
    gl_.Disable(GL_LIGHT0 + data->slot);
    FreeLightSlot(lightSlots_, data->slot);
    slotLights_[data->slot] = nullptr;
  }
  Release(data);
  light->rendererData = nullptr;
}
