// The Direct3D 7 back end's records and drawing: materials with their blend modes, lights, patches, primitives.
#include <cfloat>
#include <cmath>

#include "core/allocate.h"
#include "render/d3d7/d3d7_device.h"
#include "render/d3d7/device_patch.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "scene/texture.h"

namespace {

struct D3D7LightData {
  int32_t slot;  // -1 for an ambient light, and for a light that found every slot taken
  D3DLIGHT7 light;
};

constexpr DWORD kFvfLitVertex = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2;
constexpr DWORD kFvfScreenVertex = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2;
static_assert(kFvfLitVertex == 0x212 && kFvfScreenVertex == 0x2C4);

// The range of a light that reaches everywhere.
const float kUnlimitedRange = std::sqrt(FLT_MAX);

const PatchData* DevicePatch(const Patch& patch) { return reinterpret_cast<const PatchData*>(patch.rendererWords[0]); }

}  // namespace

void D3D7Renderer::CreateMaterial(Material* material) {
  if (CreateMaterialData(material)) UpdateMaterial(material);
}

void D3D7Renderer::UpdateMaterial(Material* material) {
  if (material->rendererData) FillMaterialData(*material, *material->rendererData);
}

// A later Material at the same address must not pass for the current one.
void D3D7Renderer::ReleaseMaterial(Material* material) {
  if (material == currentMaterial_) currentMaterial_ = nullptr;
  ReleaseMaterialData(material);
}

void D3D7Renderer::SetMaterial(Material* material) {
  if (material == currentMaterial_) return;
  currentMaterial_ = material;
  if (!material) return;
  if (material->rendererData) device_->SetMaterial(reinterpret_cast<D3DMATERIAL7*>(material->rendererData));
  SetBlendMode(material->mode);
  if (material->textureCount == 0) {
    Unbind();
    return;
  }
  for (uint32_t stage = 0; stage < material->textureCount; ++stage) {
    if (Texture* texture = material->textures[stage]) {
      texture->Bind();
    } else {
      Unbind();
    }
  }
}

// Stage 0 empty, and no texture current, so that the next Bind sets its texture again.
void D3D7Renderer::Unbind() {
  device_->SetTexture(0, nullptr);
  currentTexture_ = nullptr;
}

// Stage 0 and blending by the material's mode; a mode above 4 leaves the previous material's states in force.
void D3D7Renderer::SetBlendMode(uint32_t mode) {
  if (mode > 4) return;
  device_->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
  device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  switch (mode) {
    case 0:  // opaque
      device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
      device_->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
      return;
    case 1:
    case 2:  // additive
      device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
      device_->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
      device_->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
      break;
    case 3:  // the texture's colour and alpha
      device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
      device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
      device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
      device_->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
      device_->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
      break;
    default:  // 4: the texture's colour with the vertex alpha
      device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
      device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
      device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
      device_->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
      device_->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
      break;
  }
  device_->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
}

void D3D7Renderer::CreateLight(Light* light) {
  auto* data = static_cast<D3D7LightData*>(Allocate(sizeof(D3D7LightData), "D3D7Light"));
  if (!data) return;
  *data = {};
  data->light.dltType = static_cast<D3DLIGHTTYPE>(light->type);
  data->slot = TakeLightSlot(lightSlots_, *light);
  light->rendererData = data;
}

// Colours go to the device as the byte values themselves, not scaled to 0-1: the scenes were lit for that.
void D3D7Renderer::UpdateLight(Light* light) {
  auto* data = static_cast<D3D7LightData*>(light->rendererData);
  if (!data) return;
  const Colour& c = light->colour;
  if (light->type == LightAmbient) {
    device_->SetRenderState(D3DRENDERSTATE_AMBIENT, DWORD{c.red} << 16 | DWORD{c.green} << 8 | c.blue);
    return;
  }
  if (data->slot < 0) return;
  D3DLIGHT7& l = data->light;
  l.dcvDiffuse = {{float(c.red)}, {float(c.green)}, {float(c.blue)}, {0.0f}};
  l.dcvSpecular = l.dcvAmbient = l.dcvDiffuse;
  l.dvPosition = {{light->position.x}, {light->position.y}, {light->position.z}};
  l.dvDirection = {{light->direction.x}, {light->direction.y}, {light->direction.z}};
  const bool unlimited = light->range == 0.0f;
  l.dvRange = unlimited ? kUnlimitedRange : light->range;
  l.dvAttenuation0 = unlimited ? 1.0f : 0.0f;
  l.dvAttenuation1 = unlimited ? 0.0f : 1.0f;
  l.dvAttenuation2 = 0.0f;
  l.dvFalloff = 1.0f;
  l.dvTheta = light->innerAngle;
  l.dvPhi = light->outerAngle;
  device_->SetLight(data->slot, &l);
  device_->LightEnable(data->slot, TRUE);
}

void D3D7Renderer::ReleaseLight(Light* light) {
  auto* data = static_cast<D3D7LightData*>(light->rendererData);
  if (!data) return;
  if (data->slot >= 0) {
    device_->LightEnable(data->slot, FALSE);
    FreeLightSlot(lightSlots_, data->slot);
  }
  Release(data);
  light->rendererData = nullptr;
}

void D3D7Renderer::CreatePatch(Patch* patch) {
  patch->rendererWords[0] = reinterpret_cast<uintptr_t>(NewDevicePatch(*patch));
}

void D3D7Renderer::ReleasePatch(Patch* patch) {
  FreeDevicePatch(reinterpret_cast<PatchData*>(patch->rendererWords[0]));
  patch->rendererWords[0] = 0;
}

// Lit patches switch lighting on; coloured ones switch it off until the next lit patch.
int32_t D3D7Renderer::DrawPatch(Patch* patch) {
  const PatchData* data = DevicePatch(*patch);
  if (!data) return DDERR_INVALIDPARAMS;
  device_->SetRenderState(D3DRENDERSTATE_LIGHTING, patch->kind == PatchLit);
  return device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, data->vertexFormat, data->vertices, data->vertexCount,
                                       data->indices, data->indexCount, 0);
}

int32_t D3D7Renderer::DrawPrimitive(PrimitiveKind kind, LitVertex* vertices, uint32_t count, Material* material) {
  if (material != currentMaterial_) SetMaterial(material);
  return device_->DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(kind), kFvfLitVertex, vertices, count, 0);
}

int32_t D3D7Renderer::Draw2D(PrimitiveKind kind, ScreenVertex* vertices, uint32_t count, Material* material) {
  if (material != currentMaterial_) SetMaterial(material);
  return device_->DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(kind), kFvfScreenVertex, vertices, count, 0);
}

// The material stays as it is.
int32_t D3D7Renderer::DrawTextured2D(PrimitiveKind kind, ScreenVertex* vertices, uint32_t count, Texture* texture) {
  if (texture) texture->Bind();
  return device_->DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(kind), kFvfScreenVertex, vertices, count, 0);
}
