// qz2-tool render end to end: a fixture scene of three objects drawn into a PNG that shows them where the camera puts
// them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/png_picture.h"
#include "tests/support.h"
#include "tools/content/bmp_writer.h"
#include "tools/content/qz3_writer.h"

namespace {

constexpr float kRightAngle = 1.5707964f;

// A flat square of one colour at x across, z up, facing the camera that looks along +y.
void Square(Qz3Writer& writer, const char* name, float x, uint32_t argb) {
  std::vector<PatchVertexColoured> v;
  // Top-left, bottom-left, bottom-right, top-right as the camera sees them.
  for (Vec3 p : {Vec3{x - 1, 0, 1}, Vec3{x - 1, 0, -1}, Vec3{x + 1, 0, -1}, Vec3{x + 1, 0, 1}}) {
    v.push_back({p, {0, 0, 0}, argb, 0, 0, 0});
  }
  writer.MeshObject(MeshRecord(name, 1), {ColouredPatch(0, v, {0, 1, 2, 0, 2, 3})});
}

// The camera stands at (0, -10, 0) looking at the origin with square view angles, so the
// plane y = 0 shows at 40 pixels a unit: (x, z) lands at (400 + 40 x, 300 - 40 z).
Qz3Writer ThreeSquares() {
  Qz3Writer writer;
  writer.Material(MaterialRecord("Plain", 0));
  Square(writer, "Red", -4, 0xFFD00000);
  Square(writer, "Green", 0, 0xFF00D000);
  Square(writer, "Blue", 4, 0xFF0000D0);
  const Vec3 position = {0, -10, 0}, target = {0, 0, 0};
  TargCamKey key = {position, 0, target, 0, kRightAngle, 0};
  // Two keys a second apart: the scene lasts one second.
  writer.CameraTrack(CameraTrackRecord("Camera", 1, 31, 30, 30.0f), {key, key});
  writer.Camera(CameraRecord("Camera", 0, kRightAngle * 0.5f, position, target));
  writer.End();
  return writer;
}

// The frame, drawn twice in one run: the second, set up after the first was torn down, is the same picture.
TEST(RenderCommand, DrawsAFixtureSceneWhereItsCameraPutsIt) {
  Scratch dir;
  dir.Write("scene1.QZ3", ThreeSquares().Bytes());
  std::vector<uint8_t> font(8 * 8 * 3, 0xFF);
  dir.Write("police1.bmp", EncodeBmp24(8, 8, font.data()));
  dir.Write("over1.dat", "");  // a scene without overlays
  std::string command = std::string(QZ2_TOOL) + " render " + dir.Path().string() + " --scene 1 --time 0.5 --out " +
                        dir.Path("frame.png") + " --out " + dir.Path("again.png") + " --time 0.5 --scene 1 > " +
                        dir.Path("render.json");
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  Picture png, again;
  ASSERT_TRUE(ReadPng(dir.Path("frame.png"), png) && ReadPng(dir.Path("again.png"), again));
  ASSERT_EQ(png.width, 800u);
  ASSERT_EQ(png.height, 600u);
  EXPECT_TRUE(png.rgb == again.rgb);

  struct Probe {
    int x, y;
    uint8_t r, g, b;
  };
  const Probe probes[] = {
      {240, 300, 0xD0, 0, 0}, {400, 300, 0, 0xD0, 0}, {560, 300, 0, 0, 0xD0},  // the three centres
      {203, 263, 0xD0, 0, 0}, {276, 336, 0xD0, 0, 0},                          // inside the red corners
      {196, 300, 0, 0, 0},    {284, 300, 0, 0, 0},    {240, 256, 0, 0, 0},     // just outside
      {400, 100, 0, 0, 0},    {480, 300, 0, 0, 0},                             // between and above
  };
  for (const Probe& p : probes) {
    const uint8_t* c = png.At(p.x, p.y);
    EXPECT_EQ((std::vector<int>{c[0], c[1], c[2]}), (std::vector<int>{p.r, p.g, p.b})) << p.x << ", " << p.y;
  }
}

}  // namespace
