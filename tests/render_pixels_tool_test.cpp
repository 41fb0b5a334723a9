// qz2-tool render end to end: a fixture scene of three objects drawn into a PNG that shows them where the camera puts
// them.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/content/bmp_writer.h"
#include "tools/content/file_writer.h"
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

struct Png {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgb;
  const uint8_t* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

bool ReadPng(const std::string& path, Png& png) {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  png.width = image.width;
  png.height = image.height;
  png.rgb.resize(PNG_IMAGE_SIZE(image));
  return png_image_finish_read(&image, nullptr, png.rgb.data(), 0, nullptr) != 0;
}

TEST(RenderCommand, DrawsAFixtureSceneWhereItsCameraPutsIt) {
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "render_command";
  std::filesystem::create_directories(dir);
  ASSERT_TRUE(ThreeSquares().Save((dir / "scene1.QZ3").c_str()));
  std::vector<uint8_t> font(8 * 8 * 3, 0xFF);
  ASSERT_TRUE(WriteBytesFile((dir / "police1.bmp").c_str(), EncodeBmp24(8, 8, font.data())));
  std::ofstream(dir / "over1.dat");  // a scene without overlays
  const std::filesystem::path out = dir / "frame.png";
  std::filesystem::remove(out);

  std::string command = std::string(QZ2_TOOL) + " render " + dir.string() + " --scene 1 --time 0.5 --out " +
                        out.string() + " > " + (dir / "render.json").string();
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  Png png;
  ASSERT_TRUE(ReadPng(out.string(), png));
  ASSERT_EQ(png.width, 800u);
  ASSERT_EQ(png.height, 600u);

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
  std::filesystem::remove_all(dir);
}

}  // namespace
