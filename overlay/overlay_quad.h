// OverlayQuad: one textured screen rectangle cut from its material's stage-0 texture, drawn in 2D mode.
//
// The draw operations read the screen size from CurrentView, so they run between Begin2D and
// End2D; outside it they draw nothing. The World destroys its quads (LoadOverlays shows it how).
#pragma once

#include <cstdint>

#include "render/renderer.h"
#include "scene/registry.h"

class Material;
class World;

class OverlayQuad {
 public:
  // The area of width x height texels whose top-left texel is (u, v) in the material's stage-0
  // texture. Registers (kind 10) and joins the World's quad list.
  OverlayQuad(const char* name, Material* material, uint32_t u, uint32_t v, uint32_t width, uint32_t height,
              World* world);
  OverlayQuad(const OverlayQuad&) = delete;
  OverlayQuad& operator=(const OverlayQuad&) = delete;

  ElementId id;
  uint32_t width, height;  // texels
  // Top-left, bottom-left, bottom-right, top-right.
  ScreenVertex vertices[4];
  Material* material;
  World* world;
  OverlayQuad* prev = nullptr;
  OverlayQuad* next = nullptr;

  // At (W x, H y) of the view, height x fy pixels high and width x fx wide; every byte of the
  // vertex colours set to alpha, so intensity and opacity follow it alike.
  void DrawAtFraction(float x, float y, float fy, float fx, uint8_t alpha);
  // At pixel (x, y), sized as DrawAtFraction.
  void DrawAtPixel(float x, float y, float fy, float fx, uint8_t alpha);
  // Over the whole view, whatever its own size.
  void DrawFullScreen(uint8_t alpha);
  // Unlinks; the storage is the caller's to free.
  void Destroy();

 private:
  void Draw(float left, float top, float right, float bottom, uint8_t alpha);
};
