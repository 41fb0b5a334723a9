// The shader back end's pixels, drawn off screen and read back: its lighting against the reference lighting, and
// the render targets and copies that the show's frames never use.
#include <gtest/gtest.h>

#include <vector>

#include "platform/egl/offscreen_gl.h"
#include "platform/fake/fake_platform.h"
#include "render/gles/gles_renderer.h"
#include "render/vertex_lighting.h"
#include "scene/camera.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/texture.h"
#include "scene/view.h"
#include "scene/world.h"

namespace {

constexpr float kRightAngle = 1.5707964f;
constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kBlack = 0xFF000000;

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, Rgb c) { return out << "(" << c.r << ", " << c.g << ", " << c.b << ")"; }

Rgb RgbOf(uint32_t argb) {
  return {static_cast<int>(argb >> 16 & 0xFF), static_cast<int>(argb >> 8 & 0xFF), static_cast<int>(argb & 0xFF)};
}

class GlesPixels : public testing::Test {
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

// A vertex at the origin facing +z, seen from (0, 0, 10): each case lights it with one light, and the pixel it
// covers shows what the reference lighting computes for it (diffuse plus specular, within a step of rounding).
TEST_F(GlesPixels, ShaderLightsAVertexAsTheReferenceLightingDoes) {
  struct Case {
    const char* what;
    Light* light;
    Vec3 position, direction;
    float range, inner, outer;
    float scale;  // of the object
  };
  auto* camera = new Camera("Camera", kRightAngle, kRightAngle, world_);
  camera->SetFov(kRightAngle, kRightAngle);
  camera->SetPosition(0, 0, 10);
  camera->SetOrientation({0, 0, 1, 0});
  view_->SetCamera(camera);
  auto* omni = new Light("Omni", LightOmni, world_);
  auto* spot = new Light("Spot", LightSpot, world_);
  auto* sun = new Light("Sun", LightDirectional, world_);
  auto* ambient = new Light("Ambient", LightAmbient, world_);
  ambient->SetColour(20, 30, 40);
  auto* material = new Material("Lit", world_);
  material->SetAmbient(64, 96, 128, 255);
  material->SetDiffuse(128, 100, 60, 128);
  material->SetSpecular(40, 60, 80, 255);
  material->SetEmissive(10, 0, 5, 255);
  material->SetSpecularPower(0.5f, 30.0f);
  const Case cases[] = {
      {"unlimited omni in front", omni, {0, 0, 2}, {0, 0, 1}, 0, 0, 0, 1},
      {"ranged omni: 1 / d", omni, {0, 1, 2}, {0, 0, 1}, 10, 0, 0, 1},
      {"past its range: nothing", omni, {0, 0, 2}, {0, 0, 1}, 1.5f, 0, 0, 1},
      {"behind: ambient only", omni, {0, 0, -2}, {0, 0, 1}, 0, 0, 0, 1},
      {"directional", sun, {9, 9, 9}, {1, 0, -3}, 0, 0, 0, 1},
      {"inside the inner cone", spot, {0, 0, 2}, {0, 0, -1}, 0, 0.5f, 1, 1},
      {"between the cones: linear in the cosine", spot, {2, 0, 2}, {0, 0, -1}, 0, 1, 2, 1},
      {"outside the outer cone", spot, {10, 0, 1}, {0, 0, -1}, 0, 1, 2, 1},
      {"scaled object: its normal is not renormalised", omni, {0, 0, 2}, {0, 0, 1}, 0, 0, 0, 2},
  };
  for (const Case& c : cases) {
    for (Light* l : {omni, spot, sun}) l->SetColour(0, 0, 0);
    c.light->SetPosition(c.position.x, c.position.y, c.position.z);
    c.light->SetDirection(c.direction.x, c.direction.y, c.direction.z);
    c.light->SetRange(c.range);
    c.light->SetCone(c.inner, c.outer);
    c.light->SetColour(1, 1, 1);
    float world[16] = {c.scale, 0, 0, 0, 0, c.scale, 0, 0, 0, 0, c.scale, 0, 0, 0, 0, 1};

    renderer_.Clear(ClearColor | ClearDepth, kBlack, 1.0f);
    renderer_.BeginView(view_);
    renderer_.SetWorldMatrix(world);
    // Both windings: whichever way the camera turns the triangle, one of them is drawn.
    const float d = 0.1f / c.scale;
    LitVertex v[6] = {
        {-d, -d, 0, 0, 0, 1, 0, 0, 0, 0}, {d, -d, 0, 0, 0, 1, 0, 0, 0, 0}, {0, d, 0, 0, 0, 1, 0, 0, 0, 0}};
    v[3] = v[0], v[4] = v[2], v[5] = v[1];
    renderer_.DrawPrimitive(PrimitiveTriangleList, v, 6, material);
    renderer_.EndView();

    LightingRig rig;
    Lighting_SetLight(rig, -1, *ambient);
    Lighting_SetLight(rig, 0, *omni);
    Lighting_SetLight(rig, 1, *spot);
    Lighting_SetLight(rig, 2, *sun);
    const float vertex[6] = {0, 0, 0, 0, 0, 1};
    LitColours lit;
    Lighting_LightVertices(rig, *material->rendererData, world, Lighting_EyeOf(camera->viewMatrix),
                           reinterpret_cast<const uint8_t*>(vertex), sizeof vertex, 1, &lit);
    const Rgb shown = At(400, 300);
    const int expected[3] = {std::min(255, lit.diffuse[0] + lit.specular[0]),
                             std::min(255, lit.diffuse[1] + lit.specular[1]),
                             std::min(255, lit.diffuse[2] + lit.specular[2])};
    EXPECT_NEAR(shown.r, expected[0], 1) << c.what;
    EXPECT_NEAR(shown.g, expected[1], 1) << c.what;
    EXPECT_NEAR(shown.b, expected[2], 1) << c.what;
  }
}

// Drawn into, a target holds its picture the right way up: its top half red shows above its bottom half green.
TEST_F(GlesPixels, TextureDrawnIntoShowsWhatWasDrawnTheRightWayUp) {
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
TEST_F(GlesPixels, CopyTakesARectangleOfThePictureOntoTheTexture) {
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
