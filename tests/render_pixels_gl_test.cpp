// The OpenGL back end on a real display: frames drawn through the Renderer interface and read back pixel by pixel.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "core/allocate.h"
#include "gl_pixels.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "scene/texture.h"
#include "tests/support.h"
#include "tools/content/bmp_writer.h"

namespace {

// The system's GL with its draw calls counted, for patches that must never be drawn.
int g_drawCalls;
void APIENTRY CountedDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
  ++g_drawCalls;
  SystemGl().DrawElements(mode, count, type, indices);
}
void APIENTRY CountedDrawArrays(GLenum mode, GLint first, GLsizei count) {
  ++g_drawCalls;
  SystemGl().DrawArrays(mode, first, count);
}
void APIENTRY CountedBegin(GLenum mode) {
  ++g_drawCalls;
  SystemGl().Begin(mode);
}
const GlApi& CountingGl() {
  static const GlApi api = [] {
    GlApi a = SystemGl();
    a.DrawElements = CountedDrawElements;
    a.DrawArrays = CountedDrawArrays;
    a.Begin = CountedBegin;
    return a;
  }();
  return api;
}

constexpr float kDepth = 10.0f;  // where the test geometry stands in front of the camera

// Where a world point (x, y) at the test depth lands on screen.
struct ScreenPoint {
  double x, y;
};
ScreenPoint OnScreen(float x, float y) { return {400.0 - 400.0 * x / kDepth, 300.0 - 400.0 * y / kDepth}; }

class GlPixels : public GlPixelsTest {
 protected:
  void SetUp() override { Open(CountingGl(), false); }

  // Draws the patch with its material in a cleared frame, through the view (the fixture's by default)
  // and the world matrix (identity by default), and reads the picture back.
  void Draw3D(Patch& patch, View* view = nullptr, float* worldMatrix = nullptr) {
    float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    BeginFrame();
    renderer_->BeginView(view ? view : view_);
    renderer_->SetWorldMatrix(worldMatrix ? worldMatrix : identity);
    renderer_->SetMaterial(patch.material);
    renderer_->DrawPatch(&patch);
    renderer_->EndView();
    Read();
  }

  Material* NewMaterial(uint32_t mode, Texture* texture) {
    Material* m = new Material("Mat", world_);
    m->SetMode(mode);
    if (texture) {
      m->SetTextureCount(1);
      m->SetTexture(0, texture, 0);
    }
    return m;
  }

  // A scene-file texture of one colour.
  Texture* SolidTexture(uint8_t red, uint8_t green, uint8_t blue) {
    constexpr uint16_t kSide = 8;
    auto* pixels = static_cast<uint8_t*>(Allocate(kSide * kSide * 3, "TexBits"));
    for (int i = 0; i < kSide * kSide; ++i) {
      pixels[i * 3] = blue;
      pixels[i * 3 + 1] = green;
      pixels[i * 3 + 2] = red;
    }
    return new Texture("Solid", TextureRawPixels, kSide, kSide, 0, pixels, kSide * kSide * 3, world_);
  }

  // An overlay-style quad: corners top-left, bottom-left, bottom-right, top-right as a fan.
  void Quad2D(float x0, float y0, float x1, float y1, uint32_t diffuse, Material* material) {
    ScreenVertex v[4] = {{x0, y0, 0, 1, diffuse, 0, 0, 0, 0, 0},
                         {x0, y1, 0, 1, diffuse, 0, 0, 1, 0, 0},
                         {x1, y1, 0, 1, diffuse, 0, 1, 1, 0, 0},
                         {x1, y0, 0, 1, diffuse, 0, 1, 0, 0, 0}};
    renderer_->Draw2D(PrimitiveTriangleFan, v, 4, material);
  }

  // Every pixel well inside the screen triangle t has the test triangles' colour, every pixel well outside
  // the background. Its corners run clockwise on screen: the inside is on the right of each edge.
  void ExpectTriangle(const ScreenPoint (&t)[3]);
};

// A patch the test owns, created and released through the renderer.
struct TestPatch {
  TestPatch(uint32_t kind, void* vertices, uint32_t vertexCount, std::vector<uint16_t>& indices,
            Material* material = nullptr) {
    patch = {kind, material, vertexCount, static_cast<uint32_t>(indices.size()), vertices, indices.data(), {}};
    CurrentRenderer->CreatePatch(&patch);
  }
  ~TestPatch() { CurrentRenderer->ReleasePatch(&patch); }
  Patch patch;
};

constexpr uint32_t kTriangleColour = 0xFFE01020;

std::vector<PatchVertexColoured> ColouredVertices(std::initializer_list<Vec3> positions, uint32_t argb) {
  std::vector<PatchVertexColoured> v;
  for (Vec3 p : positions) v.push_back({p, {0, 0, 0}, argb, 0, 0, 0});
  return v;
}

// Quads as triangle lists of four corners each.
std::vector<uint16_t> QuadIndices(int quads) {
  std::vector<uint16_t> indices;
  for (int q = 0; q < quads; ++q) {
    for (uint16_t i : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<uint16_t>(4 * q + i));
  }
  return indices;
}

// How far the point lies inside the triangle's edges, in pixels; negative outside.
double InsideBy(ScreenPoint p, const ScreenPoint (&t)[3]) {
  double least = 1e9;
  for (int i = 0; i < 3; ++i) {
    ScreenPoint a = t[i], b = t[(i + 1) % 3];
    double ex = b.x - a.x, ey = b.y - a.y;
    double distance = (ex * (p.y - a.y) - ey * (p.x - a.x)) / std::hypot(ex, ey);
    least = std::min(least, distance);
  }
  return least;
}

void GlPixels::ExpectTriangle(const ScreenPoint (&t)[3]) {
  int inside = 0;
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      double by = InsideBy({x + 0.5, y + 0.5}, t);
      if (by > 1.0) {
        ++inside;
        ASSERT_EQ(At(x, y), (Rgb{0xE0, 0x10, 0x20})) << x << ", " << y;
      } else if (by < -1.0) {
        ASSERT_EQ(At(x, y), kBackgroundRgb) << x << ", " << y;
      }
    }
  }
  EXPECT_GT(inside, 10000);
}

TEST_F(GlPixels, UnlitColouredTriangleCoversItsPixelsAndNoOthersAndIsCulledTheOtherWayRound) {
  // Listed clockwise as seen from the camera: the picture's mirrored x makes it anticlockwise on screen.
  std::vector<PatchVertexColoured> v =
      ColouredVertices({{-2, -2, kDepth}, {0, 2, kDepth}, {2, -2, kDepth}}, kTriangleColour);
  std::vector<uint16_t> indices = {0, 1, 2}, reversed = {0, 2, 1};
  TestPatch triangle(PatchColoured, v.data(), 3, indices), culled(PatchColoured, v.data(), 3, reversed);
  Draw3D(triangle.patch);
  ExpectTriangle({OnScreen(-2, -2), OnScreen(2, -2), OnScreen(0, 2)});
  Draw3D(culled.patch);
  for (int y = 0; y < 600; y += 3) {
    for (int x = 0; x < 800; x += 3) ASSERT_EQ(At(x, y), kBackgroundRgb) << x << ", " << y;
  }
}

// The projection worked out here from the camera alone: a look-at camera off the axes, rolled, with
// view angles of its own, and a triangle placed by a world matrix just past a near plane of 2.
TEST_F(GlPixels, LookAtCameraAndWorldMatrixPutATriangleJustPastTheNearPlaneWhereItBelongs) {
  struct D3 {
    double x, y, z;
    D3 operator+(D3 o) const { return {x + o.x, y + o.y, z + o.z}; }
    D3 operator*(double k) const { return {x * k, y * k, z * k}; }
    D3 Unit() const { return *this * (1.0 / std::sqrt(x * x + y * y + z * z)); }
  };
  const D3 eye = {6, -9, 4}, target = {1, 2, -1};
  const double roll = 0.3, angleA = 1.4, angleB = 1.2;
  Camera* camera = new Camera("LookAt", angleA, angleB, world_);
  camera->SetPosition(6, -9, 4);
  camera->SetTarget(1, 2, -1);
  camera->roll = roll;
  View* view = new View("Near", 0, 0, 2.0f, 800, 600, 500, 1, world_);
  view->SetCamera(camera);
  world_->SetView(view);

  // The camera's frame: forward f, up u (world z squared to f), right r = u x f; the roll turns r and u.
  const D3 f = (target + eye * -1).Unit();
  const D3 u = (D3{0, 0, 1} + f * -f.z).Unit();
  const D3 r = {u.y * f.z - u.z * f.y, u.z * f.x - u.x * f.z, u.x * f.y - u.y * f.x};
  const double c = std::cos(roll), s = std::sin(roll);
  const double xScale = 1 / std::tan(angleA / 2), yScale = 1 / std::tan(0.85 * angleB / 2);
  // Corners chosen in the rolled eye space (x, y, depth); the world matrix doubles and turns a quarter
  // about z, then moves by (1, 2, 3): (x, y, z) -> (1 - 2y, 2 + 2x, 3 + 2z). Its last column is junk.
  const D3 eyeCorners[3] = {{-1.2, -0.9, 2.05}, {1.5, -0.6, 2.6}, {0.1, 1.1, 2.3}};
  float worldMatrix[16] = {0, 2, 0, 0.25f, -2, 0, 0, -0.5f, 0, 0, 2, 0.75f, 1, 2, 3, 2};
  std::vector<PatchVertexColoured> v;
  ScreenPoint t[3];
  for (int i = 0; i < 3; ++i) {
    const D3& e = eyeCorners[i];
    D3 p = eye + r * (e.x * c + e.y * s) + u * (-e.x * s + e.y * c) + f * e.z;
    Vec3 corner = {static_cast<float>((p.y - 2) / 2), static_cast<float>((1 - p.x) / 2),
                   static_cast<float>((p.z - 3) / 2)};
    v.push_back({corner, {0, 0, 0}, kTriangleColour, 0, 0, 0});
    t[i] = {400 - 400 * xScale * e.x / e.z, 300 - 300 * yScale * e.y / e.z};
  }
  // Clockwise on screen is culled: list the corners anticlockwise as seen.
  double turn = (t[1].x - t[0].x) * (t[2].y - t[0].y) - (t[1].y - t[0].y) * (t[2].x - t[0].x);
  std::vector<uint16_t> indices = turn < 0 ? std::vector<uint16_t>{0, 1, 2} : std::vector<uint16_t>{0, 2, 1};
  TestPatch triangle(PatchColoured, v.data(), 3, indices);
  Draw3D(triangle.patch, view, worldMatrix);
  if (turn < 0) std::swap(t[1], t[2]);
  ExpectTriangle(t);
}

TEST_F(GlPixels, DepthTestKeepsTheNearerOfTwoOverlappingQuads) {
  // Corners bottom-left, top-left, top-right, bottom-right: clockwise from the camera.
  std::vector<PatchVertexColoured> v = ColouredVertices(
      {{-2, -2, 8}, {-2, 2, 8}, {2, 2, 8}, {2, -2, 8}, {-4, 0, 12}, {-4, 4, 12}, {0, 4, 12}, {0, 0, 12}}, 0);
  for (int i = 0; i < 4; ++i) v[i].diffuse = 0xFF00C000;  // near: green
  for (int i = 4; i < 8; ++i) v[i].diffuse = 0xFFC00000;  // far: red, drawn last
  std::vector<uint16_t> indices = QuadIndices(2);
  TestPatch quads(PatchColoured, v.data(), 8, indices);
  Draw3D(quads.patch);
  // On screen the near quad spans x 300..500, y 200..400; the far one x 400..533, y 167..300.
  EXPECT_EQ(At(450, 250), (Rgb{0, 0xC0, 0}));  // overlap: the near one
  EXPECT_EQ(At(520, 180), (Rgb{0xC0, 0, 0}));  // the far one alone
  EXPECT_EQ(At(350, 350), (Rgb{0, 0xC0, 0}));  // the near one alone
}

TEST_F(GlPixels, OmniLightBrightensTheQuadFacingItAlsoInTheCharactersReadyPatch) {
  Material* grey = new Material("Grey", world_);
  grey->SetDiffuse(128, 128, 128, 255);
  Light* light = new Light("Omni", LightOmni, world_);
  light->SetColour(1, 1, 1);
  light->SetRange(0);
  light->SetPosition(0, 0, 0);
  // Left on screen (x > 0) the normals face the light at the camera; right, they face away.
  std::vector<PatchVertexLit> v;
  for (float x0 : {0.5f, -2.5f}) {
    float nz = x0 > 0 ? -1.0f : 1.0f;
    for (Vec3 p : {Vec3{x0, -1, kDepth}, Vec3{x0, 1, kDepth}, Vec3{x0 + 2, 1, kDepth}, Vec3{x0 + 2, -1, kDepth}}) {
      v.push_back({p, {0, 0, nz}, 0, 0});
    }
  }
  std::vector<uint16_t> indices = QuadIndices(2);
  TestPatch quads(PatchLit, v.data(), 8, indices, grey);
  Draw3D(quads.patch);
  EXPECT_GT(At(340, 300).r, 100) << At(340, 300);
  EXPECT_LT(At(460, 300).r, 10) << At(460, 300);
  EXPECT_TRUE(Near(At(400, 100), kBackgroundRgb));
  // The character hands over the facing quad ready-made in the patch's first renderer word.
  PatchData data = {0x112, 32, 4, 6, v.data(), indices.data()};
  Patch character = {PatchLit, grey, 0, 0, nullptr, nullptr, {reinterpret_cast<uintptr_t>(&data), 0}};
  Draw3D(character);
  EXPECT_GT(At(340, 300).r, 100) << At(340, 300);
  EXPECT_EQ(At(460, 300), kBackgroundRgb);
}

TEST_F(GlPixels, BlendModesMixWithTheBackgroundAsDirect3DDoesAndScreenPixelsMapExactly) {
  Texture* texture = SolidTexture(100, 50, 20);
  Material* opaque = NewMaterial(0, texture);
  Material* additive = NewMaterial(1, texture);
  Material* textureAlpha = NewMaterial(3, texture);
  Material* vertexAlpha = NewMaterial(4, texture);
  Material* secondStageEmpty = NewMaterial(0, texture);
  secondStageEmpty->SetTextureCount(2);
  BeginFrame();
  renderer_->Begin2D(view_);
  Quad2D(0, 0, 100, 100, 0xFF808080, opaque);          // texture times the vertex colour
  Quad2D(100, 0, 200, 100, 0xFFFFFFFF, additive);      // added to the background
  Quad2D(200, 0, 300, 100, 0x00FFFFFF, textureAlpha);  // an opaque texture hides it
  Quad2D(300, 0, 400, 100, 0x80FFFFFF, vertexAlpha);   // half and half
  Quad2D(400, 0, 500, 100, 0xFFFFFFFF, additive);
  Quad2D(500, 0, 600, 100, 0xFFFFFFFF, NewMaterial(7, texture));  // an unknown mode leaves the blend as it was
  Quad2D(600, 0, 700, 100, 0xFFFFFFFF, secondStageEmpty);          // the first stage's texture stays
  Quad2D(100, 200, 200, 300, 0xFFFFFFFF, NewMaterial(0, nullptr));
  renderer_->End2D();
  Read();
  EXPECT_TRUE(Near(At(50, 50), Rgb{50, 25, 10})) << At(50, 50);
  EXPECT_TRUE(Near(At(150, 50), Rgb{140, 122, 140})) << At(150, 50);
  EXPECT_TRUE(Near(At(250, 50), Rgb{100, 50, 20})) << At(250, 50);
  EXPECT_TRUE(Near(At(350, 50), Rgb{70, 61, 70})) << At(350, 50);
  EXPECT_TRUE(Near(At(550, 50), Rgb{140, 122, 140})) << At(550, 50);
  EXPECT_TRUE(Near(At(650, 50), Rgb{100, 50, 20})) << At(650, 50);
  for (int y = 190; y < 310; ++y) {
    for (int x = 90; x < 210; ++x) {
      bool inside = x >= 100 && x < 200 && y >= 200 && y < 300;
      ASSERT_EQ(At(x, y), (inside ? Rgb{255, 255, 255} : kBackgroundRgb)) << x << ", " << y;
    }
  }
}

TEST_F(GlPixels, PatchWithAnIndexPastItsVerticesIsNeverDrawn) {
  PatchVertexLit lit[3] = {};
  std::vector<uint16_t> indices = {0, 1, 3};
  TestPatch patch(PatchLit, lit, 3, indices);
  PatchData data = {0x112, 32, 3, 3, lit, indices.data()};
  Patch character = {PatchLit, nullptr, 0, 0, nullptr, nullptr, {reinterpret_cast<uintptr_t>(&data), 0}};
  int drawn = g_drawCalls;
  renderer_->BeginView(view_);
  renderer_->DrawPatch(&patch.patch);
  renderer_->DrawPatch(&character);
  renderer_->EndView();
  EXPECT_EQ(g_drawCalls, drawn);
}

TEST_F(GlPixels, RenderTargetGetsNoImageAndAMissingImageFileIsFatal) {
  Texture* target = new Texture("Target", TextureRenderTarget, 64, 64, 0, nullptr, 0, world_);
  EXPECT_EQ(target->rendererData, 0u);
  platform_->expectBoxes = true;
  platform_->boxes.clear();
  const std::string path = "/nonexistent/font.bmp";
  EXPECT_THROW(new Texture(path.c_str(), 0, 1, world_), FakeExit);
  EXPECT_EQ(platform_->boxes, std::vector<std::string>{"Texture BMP File not found (" + path + ")"});
}

TEST_F(GlPixels, BlackKeyOfAFileTextureLeavesTheBackgroundVisible) {
  // 8-bit image, left half pure black, right half orange.
  std::vector<uint8_t> indices(16 * 16);
  for (int i = 0; i < 16 * 16; ++i) indices[i] = (i % 16) < 8 ? 0 : 1;
  const Scratch scratch;
  const std::string path = scratch.Write("keyed.bmp", EncodeBmp8(16, 16, indices.data(), {{0, 0, 0}, {250, 120, 0}}));
  Texture* keyed = new Texture(path.c_str(), 0, 1, world_);
  EXPECT_EQ(keyed->width, 16);
  EXPECT_EQ(keyed->height, 16);
  EXPECT_EQ(keyed->scaleU, 1.0f);
  Material* material = NewMaterial(3, keyed);

  BeginFrame();
  renderer_->Begin2D(view_);
  Quad2D(0, 0, 320, 320, 0xFFFFFFFF, material);
  renderer_->End2D();
  Read();
  EXPECT_EQ(At(40, 160), kBackgroundRgb);
  EXPECT_EQ(At(280, 160), (Rgb{250, 120, 0}));
}

class GlPixelsFullScreen : public GlPixels {
 protected:
  void SetUp() override { Open(CountingGl(), true); }
};

// The virtual display is 1280 x 720: the picture is 960 x 720 between two black bars.
TEST_F(GlPixelsFullScreen, LetterboxKeepsFourThirdsInAWideScreen) {
  ASSERT_EQ(renderer_->DrawableWidth(), 1280);
  ASSERT_EQ(renderer_->DrawableHeight(), 720);
  Material* plain = NewMaterial(0, nullptr);
  for (int frame = 0; frame < 2; ++frame) {  // both buffers of the swap chain
    BeginFrame();
    renderer_->Begin2D(view_);
    Quad2D(0, 0, 800, 600, 0xFFFFFFFF, plain);
    renderer_->End2D();
    std::vector<uint8_t> all(1280 * 720 * 3);
    renderer_->ReadPixels({0, 0, 1280, 720}, all.data());
    auto at = [&all](int x, int y) {
      const uint8_t* p = &all[(static_cast<size_t>(y) * 1280 + x) * 3];
      return Rgb{p[0], p[1], p[2]};
    };
    for (int y = 0; y < 720; y += 7) {
      ASSERT_EQ(at(159, y), (Rgb{0, 0, 0})) << y;
      ASSERT_EQ(at(160, y), (Rgb{255, 255, 255})) << y;
      ASSERT_EQ(at(1119, y), (Rgb{255, 255, 255})) << y;
      ASSERT_EQ(at(1120, y), (Rgb{0, 0, 0})) << y;
    }
    renderer_->Present(0);
  }
}

}  // namespace
