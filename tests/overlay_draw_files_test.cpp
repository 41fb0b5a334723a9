// Overlay files through the recording renderer: what each element draws, when, where and how bright.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "overlay/glyph_set.h"
#include "overlay/overlay_quad.h"
#include "overlay/overlays.h"
#include "scene/material.h"
#include "scene/texture.h"
#include "scene/view.h"
#include "tests/scene_fixture.h"
#include "tools/content/bmp_writer.h"
#include "tools/content/overlay_writer.h"

namespace {

struct Drawn {
  PrimitiveKind kind;
  Material* material;
  std::array<ScreenVertex, 4> v;
};

// Keeps the Draw2D calls; image textures get the given scaleU, as a resized texture would.
class CapturingRenderer : public RecordingRenderer {
 public:
  std::vector<Drawn> draws;
  float scaleU = 1;
  void LoadTexture(Texture* texture) override {
    RecordingRenderer::LoadTexture(texture);
    texture->scaleU = scaleU;
  }
  int32_t Draw2D(PrimitiveKind kind, ScreenVertex* vertices, uint32_t count, Material* material) override {
    Drawn d = {kind, material, {}};
    std::copy(vertices, vertices + std::min<uint32_t>(count, 4), d.v.begin());
    draws.push_back(d);
    return RecordingRenderer::Draw2D(kind, vertices, count, material);
  }
};

constexpr int kCell = 16;
constexpr int kFontWidth = kCell * kGlyphCount;  // 608
constexpr int kPictureWidth = 40, kPictureHeight = 20;

class OverlayFiles : public WorldFixture<CapturingRenderer> {
 protected:
  OverlayFiles() {
    std::vector<uint8_t> black(kFontWidth * kCell * 3);
    scratch.Write("font.bmp", EncodeBmp24(kFontWidth, kCell, black.data()));
    scratch.Write("pic.bmp", EncodeBmp24(kPictureWidth, kPictureHeight, black.data()));
    view = new View("View1", 0, 0, 1, 800, 600, 500, 1, &world);
  }

  // The overlay sets loaded are freed with the World.
  OverlaySet* Load(const std::vector<uint8_t>& bytes) {
    return LoadOverlays("2D", scratch.Write("over.dat", bytes).c_str(), &world, scratch.Path().string().c_str());
  }
  OverlaySet* Load(const std::vector<OverlayRecord>& records) { return Load(OverlayFileBytes(records)); }

  const std::vector<Drawn>& DrawAt(const OverlaySet* set, float t) {
    renderer.draws.clear();
    renderer.Begin2D(view);
    DrawOverlays(set, t);
    renderer.End2D();
    return renderer.draws;
  }

  static OverlayRecord Picture(float t0, float t1) { return ImageOverlayRecord("pic.bmp", "Pic", 0, t0, t1); }
  static OverlayRecord Text(const char* text) {
    return TextOverlayRecord("font.bmp", "Title", text, kCell, kCell, 1, 0, 10);
  }

  View* view;
};

TEST_F(OverlayFiles, ElementIsDrawnFromItsStartToItsEndBothIncluded) {
  struct Case {
    float t0, t1, t;
    bool drawn;
  } cases[] = {{1, 3, 0.999f, false}, {1, 3, 1, true},       {1, 3, 3, true},       {1, 3, 3.001f, false},
               {2, 2, 2, true},       {2, 2, 1.999f, false}, {2, 2, 2.001f, false}, {3, 1, 2, false}};
  for (const Case& c : cases) {
    OverlaySet* set = Load({Picture(c.t0, c.t1)});
    EXPECT_EQ(DrawAt(set, c.t).size(), c.drawn ? 1u : 0u) << c.t0 << ".." << c.t1 << " at " << c.t;
    ReleaseOverlays(set);
  }
}

TEST_F(OverlayFiles, ImageSlidesScalesAndFadesLinearly) {
  OverlayRecord r = Picture(0, 2);
  r.x0 = 0.1f, r.y0 = 0.2f, r.x1 = 0.3f, r.y1 = 0.4f;
  r.scale0 = 1, r.scale1 = 3;
  r.alpha0 = 0, r.alpha1 = 200;
  renderer.scaleU = 2;
  const std::vector<Drawn>& d = DrawAt(Load({r}), 1);
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].kind, PrimitiveTriangleFan);
  EXPECT_EQ(d[0].material->mode, 0u);
  // At (160, 180) at scale 2; the height divided by scaleU, the width by scaleV. Corners top-left,
  // bottom-left, bottom-right, top-right.
  const float corners[4][4] = {{160, 180, 0, 0}, {160, 200, 0, 1}, {240, 200, 1, 1}, {240, 180, 1, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(d[0].v[i].x, corners[i][0]) << i;
    EXPECT_FLOAT_EQ(d[0].v[i].y, corners[i][1]) << i;
    EXPECT_EQ(d[0].v[i].tu1, corners[i][2]) << i;
    EXPECT_EQ(d[0].v[i].tv1, corners[i][3]) << i;
    EXPECT_EQ(d[0].v[i].diffuse, 0x64646464u) << i;
  }
}

TEST_F(OverlayFiles, AlphaIsTruncatedTowardZeroAndClampedToAByte) {
  struct Case {
    float t0, t1;
    uint8_t a0, a1;
    float t;
    uint32_t diffuse;
  } cases[] = {
      {0, 2, 0, 255, 1, 0x7F7F7F7F},                       // 127.5
      {8000.9f, 8001.0f, 255, 0, 8001.0f, 0},              // -2 from the rounding of the line
      {54321.1f, 54321.2f, 0, 255, 54321.2f, 0xFFFFFFFF},  // 256
  };
  for (const Case& c : cases) {
    OverlayRecord r = Picture(c.t0, c.t1);
    r.alpha0 = c.a0, r.alpha1 = c.a1;
    OverlaySet* set = Load({r});
    const std::vector<Drawn>& d = DrawAt(set, c.t);
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].v[0].diffuse, c.diffuse) << c.t;
    ReleaseOverlays(set);
  }
}

TEST_F(OverlayFiles, TextGoesUnderTheImagesAndAnFImageCoversTheWholeViewWhateverItsPlaceAndScale) {
  OverlayRecord fade = ImageOverlayRecord("pic.bmp", "Fade", 4, 0, 10);
  fade.x0 = fade.x1 = 0.3f, fade.y0 = fade.y1 = 0.7f, fade.scale0 = fade.scale1 = 5;
  const std::vector<Drawn>& d = DrawAt(Load({Picture(0, 10), Text("A"), fade}), 1);
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[0].material->mode, 1u) << "the glyph first, under both images";
  EXPECT_EQ(d[1].material->mode, 0u);
  const float corners[4][2] = {{0, 0}, {0, 600}, {800, 600}, {800, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(d[2].v[i].x, corners[i][0]) << i;
    EXPECT_EQ(d[2].v[i].y, corners[i][1]) << i;
  }
}

TEST_F(OverlayFiles, OnlyWholeRecordsAreRead) {
  EXPECT_TRUE(DrawAt(Load(std::vector<uint8_t>{}), 0).empty());
  std::vector<uint8_t> bytes = OverlayFileBytes({Picture(0, 1), Picture(0, 1)});
  bytes.resize(bytes.size() - 1);
  EXPECT_EQ(DrawAt(Load(bytes), 0).size(), 1u);
}

TEST_F(OverlayFiles, TextDrawsOneGlyphPerUpperCasedLetterOrDigitAndAGapForAnythingElse) {
  OverlaySet* set = Load({Text("Ac 12")});
  const std::vector<Drawn>& d = DrawAt(set, 1);
  ASSERT_EQ(d.size(), 4u);
  // Cells A, C, 1 and 2; the blank leaves one advance empty.
  const float left[4] = {0, 16, 48, 64};
  const int cell[4] = {0, 2, 27, 28};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(d[i].v[0].x, left[i]) << i;
    EXPECT_EQ(d[i].v[2].x, left[i] + kCell) << i;
    EXPECT_EQ(d[i].v[2].y, kCell) << i;
    EXPECT_FLOAT_EQ(d[i].v[0].tu1 * kFontWidth, cell[i] * kCell) << i;
    EXPECT_FLOAT_EQ(d[i].v[2].tu1 * kFontWidth, (cell[i] + 1) * kCell) << i;
  }
  EXPECT_STREQ(set->texts->text, "AC 12");
}

}  // namespace
