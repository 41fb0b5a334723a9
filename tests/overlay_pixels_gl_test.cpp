// Overlays and the character drawn by the OpenGL back end on a real display, read back pixel by pixel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gl_pixels.h"
#include "overlay/character.h"
#include "overlay/overlays.h"
#include "scene/material.h"
#include "tests/support.h"
#include "tools/content/bmp_writer.h"
#include "tools/content/character_writer.h"
#include "tools/content/overlay_writer.h"

namespace {

// An image of solid colour with a margin of pure black around a square of side inner.
std::vector<uint8_t> Framed(int cells, int side, int inner, const std::vector<Rgb>& colours) {
  std::vector<uint8_t> rgb(static_cast<size_t>(cells) * side * side * 3, 0);
  int margin = (side - inner) / 2;
  for (int y = margin; y < margin + inner; ++y) {
    for (int x = 0; x < cells * side; ++x) {
      if (x % side < margin || x % side >= margin + inner) continue;
      Rgb c = colours[x / side % colours.size()];
      uint8_t* p = &rgb[(static_cast<size_t>(y) * cells * side + x) * 3];
      p[0] = static_cast<uint8_t>(c.r), p[1] = static_cast<uint8_t>(c.g), p[2] = static_cast<uint8_t>(c.b);
    }
  }
  return EncodeBmp24(cells * side, side, rgb.data());
}

class OverlayPixels : public GlPixelsTest {
 protected:
  void SetUp() override { Open(SystemGl(), false); }

  void Save(const char* name, const std::vector<uint8_t>& bytes) { scratch_.Write(name, bytes); }

  // The overlays of records at time t over the background, read back.
  void DrawOverlaysAt(const std::vector<OverlayRecord>& records, float t) {
    const std::string path = scratch_.Write("over.dat", OverlayFileBytes(records));
    OverlaySet* set = LoadOverlays("2D", path.c_str(), world_, scratch_.Path().string().c_str());
    BeginFrame();
    renderer_->Begin2D(view_);
    DrawOverlays(set, t);
    renderer_->End2D();
    ReleaseOverlays(set);
    Read();
  }

  Scratch scratch_;
};

TEST_F(OverlayPixels, ImageFadingInShowsTheIntensityOfItsAlpha) {
  Save("pic.bmp", Framed(1, 40, 40, {{200, 100, 50}}));
  OverlayRecord r = ImageOverlayRecord("pic.bmp", "Pic", 0, 0, 2);
  r.x0 = r.x1 = 0.25f, r.y0 = r.y1 = 0.5f;
  r.alpha0 = 0, r.alpha1 = 255;
  struct Case {
    float t;
    Rgb inside;
  } cases[] = {{0, {0, 0, 0}}, {1, {100, 50, 25}}, {2, {200, 100, 50}}};  // alpha 0, 127, 255
  for (const Case& c : cases) {
    DrawOverlaysAt({r}, c.t);
    EXPECT_TRUE(Near(At(220, 320), c.inside)) << c.t << ": " << At(220, 320);
    EXPECT_TRUE(Near(At(199, 320), kBackgroundRgb)) << At(199, 320);
    EXPECT_TRUE(Near(At(240, 320), kBackgroundRgb)) << At(240, 320);
  }
}

TEST_F(OverlayPixels, TextLinePutsEachGlyphInItsPlaceAndLeavesItsBlackKeyTransparent) {
  // Cells of 16 pixels, each an 8-pixel square in the middle: A red, B green.
  Save("font.bmp", Framed(38, 16, 8, {{250, 0, 0}, {0, 250, 0}}));
  OverlayRecord r = TextOverlayRecord("font.bmp", "Title", "A B", 16, 16, 3, 0, 1);
  r.x0 = r.x1 = 0.1f, r.y0 = r.y1 = 0.5f;
  r.scale0 = r.scale1 = 2;
  DrawOverlaysAt({r}, 0.5f);
  // Glyphs of 32 pixels from x 80 and 144 (one advance of gap), y 300; squares 8 pixels in.
  EXPECT_TRUE(Near(At(96, 316), {250, 0, 0})) << At(96, 316);
  EXPECT_TRUE(Near(At(160, 316), {0, 250, 0})) << At(160, 316);
  for (int x : {82, 110, 128, 146, 174}) EXPECT_TRUE(Near(At(x, 316), kBackgroundRgb)) << x << ": " << At(x, 316);
  for (int y : {302, 330}) EXPECT_TRUE(Near(At(96, y), kBackgroundRgb)) << y << ": " << At(96, y);
}

TEST_F(OverlayPixels, CharacterPosedAtTwoFramesCoversDifferentPixels) {
  // At depth 10 a point (x, y) lands at (400 - 40 x, 300 - 40 y).
  Material* green = new Material("MatMotion", world_);
  green->SetEmissive(0, 200, 0, 255);
  // A square of side 2 on bone 0, which frame 0 puts at x -4 and frame 1 at x 4.
  const Quaternion still = {1, 0, 0, 0};
  Save("rap.qza",
       AnimationFileBytes(1, 2, {PoseFromRotation(still, {-4, 0, 10}), PoseFromRotation(still, {4, 0, 10})}));
  std::vector<SkinVertexRecord> corners;
  for (Vec3 p : {Vec3{-1, -1, 0}, Vec3{-1, 1, 0}, Vec3{1, 1, 0}, Vec3{1, -1, 0}}) {
    corners.push_back(RigidVertex(0, p, {0, 0, -1}, 0, 0));
  }
  Save("rap.qzb", MeshFileBytes(4, 2, corners, {0, 1, 2, 0, 2, 3}));
  BoneAnimation animation;
  animation.Load(scratch_.Path("rap.qza").c_str());
  BoneSet bones;
  bones.Create(animation.boneCount);
  SkinMesh mesh;
  mesh.Load(scratch_.Path("rap.qzb").c_str());

  const int centre[2] = {560, 240};  // frame 0 right on screen, frame 1 left: x is mirrored
  for (uint32_t frame = 0; frame < 2; ++frame) {
    animation.PoseBones(bones, frame);
    mesh.SkinVertices(bones);
    BeginFrame();
    renderer_->BeginView(view_);
    mesh.Draw(0, 0, 0, 1, green);
    renderer_->EndView();
    Read();
    EXPECT_TRUE(Near(At(centre[frame], 300), {0, 200, 0})) << frame << ": " << At(centre[frame], 300);
    EXPECT_TRUE(Near(At(centre[1 - frame], 300), kBackgroundRgb)) << frame << ": " << At(centre[1 - frame], 300);
  }
  mesh.Release();
  bones.Release();
  animation.Release();
}

}  // namespace
