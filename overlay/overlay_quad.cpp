// OverlayQuad: one textured screen rectangle cut from its material's stage-0 texture, drawn in 2D mode.
#include "overlay/overlay_quad.h"

#include "scene/list.h"
#include "scene/material.h"
#include "scene/texture.h"
#include "scene/view.h"
#include "scene/world.h"

namespace {

constexpr uint32_t kOpaqueWhite = 0xFFFFFFFF;

// A texture without size (one the renderer could not load) maps every corner to texel 0.
float TexelScale(uint16_t size) { return size ? 1.0f / size : 0.0f; }

}  // namespace

OverlayQuad::OverlayQuad(const char* name, Material* material, uint32_t u, uint32_t v, uint32_t width, uint32_t height,
                         World* world)
    : width(width), height(height), material(material), world(world) {
  const Texture* texture = material->textures[0];
  float su = TexelScale(texture ? texture->width : 0), sv = TexelScale(texture ? texture->height : 0);
  float left = u * su, right = (static_cast<float>(u) + width) * su;
  float top = v * sv, bottom = (static_cast<float>(v) + height) * sv;
  const float corners[4][2] = {{left, top}, {left, bottom}, {right, bottom}, {right, top}};
  for (int i = 0; i < 4; ++i) {
    vertices[i] = {0, 0, 0.0f, 1.0f, kOpaqueWhite, 0, corners[i][0], corners[i][1], 0, 0};
  }
  id = world->registry.Add(this, ElementOverlayQuad, name);
  PushHead(world->quads, this);
}

void OverlayQuad::Draw(float left, float top, float right, float bottom, uint8_t alpha) {
  const float corners[4][2] = {{left, top}, {left, bottom}, {right, bottom}, {right, top}};
  uint32_t colour = alpha * 0x01010101u;
  for (int i = 0; i < 4; ++i) {
    vertices[i].x = corners[i][0];
    vertices[i].y = corners[i][1];
    vertices[i].diffuse = colour;
  }
  CurrentRenderer->Draw2D(PrimitiveTriangleFan, vertices, 4, material);
}

void OverlayQuad::DrawAtPixel(float x, float y, float fy, float fx, uint8_t alpha) {
  Draw(x, y, x + width * fx, y + height * fy, alpha);
}

void OverlayQuad::DrawAtFraction(float x, float y, float fy, float fx, uint8_t alpha) {
  if (!CurrentView) return;
  DrawAtPixel(CurrentView->width * x, CurrentView->height * y, fy, fx, alpha);
}

void OverlayQuad::DrawFullScreen(uint8_t alpha) {
  if (!CurrentView) return;
  Draw(0, 0, CurrentView->width, CurrentView->height, alpha);
}

void OverlayQuad::Destroy() { Unlink(world->quads, this); }
