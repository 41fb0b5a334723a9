// GlyphSet: a bitmap font cut into one quad per cell, and lines of text drawn with it.
#include "overlay/glyph_set.h"

#include <cmath>

#include "overlay/overlay_quad.h"
#include "render/renderer.h"
#include "scene/list.h"
#include "scene/material.h"
#include "scene/texture.h"
#include "scene/view.h"
#include "scene/world.h"

namespace {

constexpr int kLetterCells = 26;

// A cell of the file's size in texels, truncated toward zero and kept where a texture side can be.
int32_t CellTexels(int32_t cell, float scale) {
  float texels = std::trunc(static_cast<float>(cell) * scale);
  if (!(texels > 0.0f)) return 0;
  return texels < kGlyphMaxCell ? static_cast<int32_t>(texels) : kGlyphMaxCell;
}

// The cell of an upper-case letter or digit, or -1.
int GlyphCell(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= '0' && c <= '9') return kLetterCells + (c - '0');
  return -1;
}

}  // namespace

GlyphSet::GlyphSet(const char* name, Texture* font, uint32_t mode, int32_t cellWidth, int32_t cellHeight, World* world)
    : glyphWidth(CellTexels(cellWidth, font->scaleU)), glyphHeight(CellTexels(cellHeight, font->scaleV)), world(world) {
  material = new Material("Mat", world);
  material->SetTextureCount(1);
  material->SetTexture(0, font, 0);
  material->SetMode(mode);
  id = world->registry.Add(this, ElementGlyphSet, name);
  char quadName[] = "OVR_A";
  for (int i = 0; i < kGlyphCount; ++i) {
    quadName[4] = static_cast<char>('A' + i);
    glyphs[i] = new OverlayQuad(quadName, material, static_cast<uint32_t>(i * glyphWidth), 0,
                                static_cast<uint32_t>(glyphWidth), static_cast<uint32_t>(glyphHeight), world);
  }
  PushHead(world->glyphSets, this);
}

void GlyphSet::DrawText(float x, float y, float s, float fy, float fx, uint8_t alpha, const char* text) {
  if (!CurrentView || !text[0]) return;
  float left = CurrentView->width * x, top = CurrentView->height * y;
  float advance = glyphWidth * s;
  for (const char* c = text; *c; ++c, left += advance) {
    int cell = GlyphCell(*c);
    if (cell >= 0) glyphs[cell]->DrawAtPixel(left, top, fy, fx, alpha);
  }
}

void GlyphSet::Unlink() { ::Unlink(world->glyphSets, this); }
