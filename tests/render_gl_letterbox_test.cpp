// The OpenGL back end's pure pieces: the letterbox.
#include <gtest/gtest.h>

#include "render/gl/gl_renderer.h"

namespace {

void ExpectRect(PixelRect r, int32_t x, int32_t y, int32_t width, int32_t height) {
  EXPECT_EQ(r.x, x);
  EXPECT_EQ(r.y, y);
  EXPECT_EQ(r.width, width);
  EXPECT_EQ(r.height, height);
}

TEST(GlLetterbox, KeepsFourThirdsCentredWithBars) {
  ExpectRect(Letterbox(800, 600, 800, 600), 0, 0, 800, 600);
  ExpectRect(Letterbox(1280, 720, 800, 600), 160, 0, 960, 720);     // bars left and right
  ExpectRect(Letterbox(1024, 1280, 800, 600), 0, 256, 1024, 768);   // bars above and below
  ExpectRect(Letterbox(3840, 2160, 800, 600), 480, 0, 2880, 2160);  // a high-DPI drawable
  ExpectRect(Letterbox(0, 0, 800, 600), 0, 0, 0, 0);
}

}  // namespace
