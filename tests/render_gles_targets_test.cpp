// The shader back end's render targets and copies, which the show's frames never use: drawn off screen, read back.
#include <gtest/gtest.h>

#include <vector>

#include "platform/egl/offscreen_gl.h"
#include "platform/fake/fake_platform.h"
#include "render/gles/gles_renderer.h"
#include "scene/material.h"
#include "scene/texture.h"
#include "scene/view.h"
#include "scene/world.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kBlack = 0xFF000000;

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, Rgb c) { return out << "(" << c.r << ", " << c.g << ", " << c.b << ")"; }

Rgb RgbOf(uint32_t argb) {
  return {static_cast<int>(argb >> 16 & 0xFF), static_cast<int>(argb >> 8 & 0xFF), static_cast<int>(argb & 0xFF)};
}

class GlesTargets : public testing::Test {
 protected:
  void SetUp() override {
    OffscreenGl_SetSize(800, 600);
    ASSERT_TRUE(renderer_.Init(800, 600, 32, 16, false, nullptr, false));
    CurrentRenderer = &renderer_;
    CurrentRendererKind = RendererGLES;
    world_ = new World("World1");
    view_ = new View("View1", 0, 0, 1, 800, 600, 500, 1, world_);
    material_ = new Material("Plain", world_);
    world_->SetView(view_);
  }
  void TearDown() override {
    world_->Destroy();
    delete world_;
    CurrentRenderer = nullptr;
    CurrentRendererKind = RendererNone;
  }

  // A screen rectangle of one colour, or white showing the texture bound on stage 0 when texture is given.
  void Rectangle(float left, float top, float right, float bottom, uint32_t argb, Texture* texture = nullptr) {
    ScreenVertex v[4] = {{left, top, 0.5f, 1, argb, 0, 0, 0, 0, 0},
                         {left, bottom, 0.5f, 1, argb, 0, 0, 1, 0, 0},
                         {right, bottom, 0.5f, 1, argb, 0, 1, 1, 0, 0},
                         {right, top, 0.5f, 1, argb, 0, 1, 0, 0, 0}};
    renderer_.Begin2D(view_);
    if (texture) {
      renderer_.DrawTextured2D(PrimitiveTriangleFan, v, 4, texture);
    } else {
      renderer_.Draw2D(PrimitiveTriangleFan, v, 4, material_);
    }
    renderer_.End2D();
  }

  Rgb At(int x, int y) {
    uint8_t rgb[3];
    renderer_.ReadPixels({x, y, 1, 1}, rgb);
    return {rgb[0], rgb[1], rgb[2]};
  }

  ScopedFakePlatform platform_;
  GLESRenderer renderer_;
  World* world_ = nullptr;
  View* view_ = nullptr;
  Material* material_ = nullptr;
};

// Drawn into, a target holds its picture the right way up: its top half red shows above its bottom half green.
TEST_F(GlesTargets, TextureDrawnIntoShowsWhatWasDrawnTheRightWayUp) {
  auto* target = new Texture("Target", TextureRenderTarget, 800, 600, 0, nullptr, 0, world_);
  ASSERT_NE(target->rendererData, 0u);
  renderer_.SetRenderTarget(target, view_);
  renderer_.Clear(ClearColor | ClearDepth, kGreen, 1.0f);
  Rectangle(0, 0, 800, 300, kRed);
  renderer_.SetRenderTarget(nullptr, view_);
  renderer_.Clear(ClearColor | ClearDepth, kBlue, 1.0f);
  Rectangle(200, 100, 600, 500, 0xFFFFFFFF, target);
  EXPECT_EQ(At(400, 150), RgbOf(kRed));
  EXPECT_EQ(At(400, 450), RgbOf(kGreen));
  EXPECT_EQ(At(100, 300), RgbOf(kBlue)) << "the window's picture is drawn again outside the quad";
  EXPECT_TRUE(platform_->boxes.empty());

  // A texture that is no target is refused with the reference's warning, and drawing goes on into the window.
  auto* plain = new Texture("Plain", TextureRawPixels, 2, 2, 0, nullptr, 0, world_);
  renderer_.SetRenderTarget(plain, view_);
  ASSERT_EQ(platform_->boxes.size(), 1u);
  EXPECT_EQ(platform_->boxes[0].text, "Error: SetRenderTarget() failed!");
}

// A copy takes the picture's rectangle onto the texture's top-left corner, rows in order.
TEST_F(GlesTargets, CopyTakesARectangleOfThePictureOntoTheTexture) {
  auto* copy = new Texture("Copy", TextureRenderTarget, 256, 256, 0, nullptr, 0, world_);
  renderer_.Clear(ClearColor | ClearDepth, kBlack, 1.0f);
  Rectangle(100, 100, 356, 228, kRed);
  Rectangle(100, 228, 356, 356, kGreen);
  EXPECT_EQ(renderer_.CopyToTexture(copy, 100, 100, 256, 256), 0);
  EXPECT_NE(renderer_.CopyToTexture(copy, 0, 0, 257, 10), 0) << "larger than the texture";
  renderer_.Clear(ClearColor | ClearDepth, kBlue, 1.0f);
  Rectangle(400, 200, 656, 456, 0xFFFFFFFF, copy);
  EXPECT_EQ(At(528, 250), RgbOf(kRed));
  EXPECT_EQ(At(528, 400), RgbOf(kGreen));
}

}  // namespace
