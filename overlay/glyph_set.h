// GlyphSet: a bitmap font cut into one quad per cell, and lines of text drawn with it.
//
// The font image holds one row of equal cells: "A" to "Z" in cells 0 to 25, "0" to "9" in 26
// to 35, and two spare cells. The quads and the material belong to the World; the glyph set
// record itself belongs to whoever made it (the overlay set of its text element).
#pragma once

#include <cstdint>

#include "scene/registry.h"

class Material;
class OverlayQuad;
class Texture;
class World;

constexpr int kGlyphCount = 38;
// Cell sizes are clamped to what a texture side can hold.
constexpr int32_t kGlyphMaxCell = 65535;

class GlyphSet {
 public:
  // Cells of cellWidth x cellHeight image pixels (scaled by the texture's scales), a material
  // "Mat" of the given blend mode over the font, and quads "OVR_A" ... in the world. Registers
  // (kind 11) under name and joins the World's glyph-set list.
  GlyphSet(const char* name, Texture* font, uint32_t mode, int32_t cellWidth, int32_t cellHeight, World* world);
  GlyphSet(const GlyphSet&) = delete;
  GlyphSet& operator=(const GlyphSet&) = delete;

  ElementId id;
  int32_t glyphWidth;   // texels
  int32_t glyphHeight;  // texels
  OverlayQuad* glyphs[kGlyphCount];
  Material* material;
  World* world;
  GlyphSet* prev = nullptr;
  GlyphSet* next = nullptr;

  // text from (W x, H y) of the current view, one glyph per upper-case letter or digit, each
  // glyphWidth x s further right than the last; any other character leaves its gap.
  void DrawText(float x, float y, float s, float fy, float fx, uint8_t alpha, const char* text);
  // Leaves the World's glyph-set list; the storage is the caller's to free.
  void Unlink();
};
