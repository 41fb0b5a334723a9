// What the pixel tests share: an 800 x 600 OpenGL picture on a virtual display, a camera looking along +z, read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "platform/sdl/sdl_platform.h"
#include "render/gl/gl_api.h"
#include "render/gl/gl_renderer.h"
#include "scene/camera.h"
#include "scene/view.h"
#include "scene/world.h"

// A message box is a fault unless the test expects one: the back end reports only failures. A fatal
// report ends the test, not the process.
class PixelTestPlatform : public SdlPlatform {
 public:
  BoxAnswer ShowMessageBox(void*, const char* text, const char*, BoxButtons, bool) override {
    if (expectBoxes) {
      boxes.push_back(text);
    } else {
      ADD_FAILURE() << "message box: " << text;
    }
    return BoxAnswer::Ok;
  }
  [[noreturn]] void ExitProcess(int code) override { throw FakeExit{code}; }
  bool expectBoxes = false;
  std::vector<std::string> boxes;
};

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, Rgb c) {
  return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

inline bool Near(Rgb a, Rgb b, int tolerance = 2) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

constexpr uint32_t kBackground = 0xFF284878;  // (40, 72, 120)
constexpr Rgb kBackgroundRgb = {40, 72, 120};
constexpr float kRightAngle = 1.5707964f;

// The camera at the origin looks along +z with both view angles square: at depth z a world point (x, y) lands
// on screen at (400 - 400 x / z, 300 - 400 y / z). x is mirrored, as the projection of both back ends mirrors it.
class GlPixelsTest : public testing::Test {
 protected:
  void Open(const GlApi& gl, bool fullscreen) {
    static PixelTestPlatform platform;
    platform_ = &platform;
    platform_->expectBoxes = false;
    SetPlatform(platform_);
    renderer_ = new GLRenderer(gl);
    CurrentRenderer = renderer_;
    CurrentRendererKind = RendererGL;
    ASSERT_TRUE(renderer_->Init(800, 600, 32, 16, fullscreen, nullptr, true));
    world_ = new World("World1");
    view_ = new View("View1", 0, 0, 1, 800, 600, 500, 1, world_);
    Camera* camera = new Camera("Camera", kRightAngle, kRightAngle, world_);
    camera->SetFov(kRightAngle, kRightAngle);
    camera->SetOrientation({1, 0, 0, 0});
    view_->SetCamera(camera);
    world_->SetView(view_);
  }
  void TearDown() override {
    if (world_) {
      world_->Destroy();
      delete world_;
    }
    delete renderer_;
    CurrentRenderer = nullptr;
    CurrentRendererKind = RendererNone;
  }

  void BeginFrame() { renderer_->Clear(ClearColor | ClearDepth, kBackground, 1.0f); }

  // The 800 x 600 picture as drawn so far.
  void Read() {
    PixelRect picture = renderer_->Picture();
    ASSERT_EQ(picture.width, 800);
    ASSERT_EQ(picture.height, 600);
    frame_.resize(800 * 600 * 3);
    renderer_->ReadPixels(picture, frame_.data());
  }
  Rgb At(int x, int y) const {
    const uint8_t* p = &frame_[(static_cast<size_t>(y) * 800 + x) * 3];
    return {p[0], p[1], p[2]};
  }

  PixelTestPlatform* platform_ = nullptr;
  GLRenderer* renderer_ = nullptr;
  World* world_ = nullptr;
  View* view_ = nullptr;
  std::vector<uint8_t> frame_;
};
