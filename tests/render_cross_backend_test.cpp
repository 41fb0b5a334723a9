// Both back ends draw alike: frames of qz2-tool render with OpenGL here and with Direct3D 7 in the Windows build's
// qz2-tool.exe under Wine, named by QZ2_WINDOWS_TOOL (the test command sets it once it has cross-built the
// program; without it the tests are skipped), in a virtual display no larger than the picture.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/show_files.h"
#include "tools/content/bmp_writer.h"
#include "tools/content/file_writer.h"
#include "tools/content/overlay_writer.h"
#include "tools/content/qz3_writer.h"
#include "tools/content/show_character.h"
#include "tools/content/show_font.h"
#include "tools/content/show_overlays.h"
#include "tools/content/show_scenes.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kCell = 100;                  // the picture is compared in cells of 100 x 100 pixels
constexpr int kBackgroundLevel = 32;        // a pixel whose channels all stay below this shows nothing
constexpr double kMaxMeanDifference = 6.0;  // per channel, in 1/255
constexpr double kMaxCoverageDifference = 0.08;
constexpr double kMaxCentroidShift = 4.0;  // pixels
constexpr double kMinCoverageForCentroid = 0.05;

struct Picture {
  std::vector<uint8_t> rgb;
  const uint8_t* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * kWidth + x) * 3]; }
  bool Shows(int x, int y) const {
    const uint8_t* c = At(x, y);
    return std::max({c[0], c[1], c[2]}) >= kBackgroundLevel;
  }
};

bool ReadPng(const std::string& path, Picture& picture) {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  if (image.width != kWidth || image.height != kHeight) {
    png_image_free(&image);
    return false;
  }
  picture.rgb.resize(PNG_IMAGE_SIZE(image));
  return png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) != 0;
}

// What shows in one cell: the share of its pixels and their centre.
struct CellMask {
  double coverage = 0, x = 0, y = 0;
};

CellMask MaskOf(const Picture& p, int left, int top) {
  CellMask m;
  int count = 0;
  for (int y = top; y < top + kCell; ++y) {
    for (int x = left; x < left + kCell; ++x) {
      if (!p.Shows(x, y)) continue;
      ++count;
      m.x += x;
      m.y += y;
    }
  }
  m.coverage = static_cast<double>(count) / (kCell * kCell);
  if (count) {
    m.x /= count;
    m.y /= count;
  }
  return m;
}

struct Comparison {
  double meanDifference[3] = {};  // per channel, in 1/255
  double worstCoverage = 0;       // the largest difference of a cell's coverage
  double worstShift = 0;          // the largest distance between a cell's centres
};

Comparison Compare(const Picture& a, const Picture& b) {
  Comparison c;
  for (size_t i = 0; i < a.rgb.size(); ++i) c.meanDifference[i % 3] += std::abs(a.rgb[i] - b.rgb[i]);
  for (double& d : c.meanDifference) d /= static_cast<double>(kWidth) * kHeight;
  for (int top = 0; top < kHeight; top += kCell) {
    for (int left = 0; left < kWidth; left += kCell) {
      CellMask ma = MaskOf(a, left, top), mb = MaskOf(b, left, top);
      c.worstCoverage = std::max(c.worstCoverage, std::abs(ma.coverage - mb.coverage));
      if (ma.coverage >= kMinCoverageForCentroid && mb.coverage >= kMinCoverageForCentroid) {
        c.worstShift = std::max(c.worstShift, std::hypot(ma.x - mb.x, ma.y - mb.y));
      }
    }
  }
  return c;
}

void WriteData(const std::filesystem::path& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(dir);
  ASSERT_TRUE(WriteBytesFile((dir / name).c_str(), bytes)) << name;
}

// The default show's files that drawing needs (no music), as the pack holds them.
void WriteShowData(const std::filesystem::path& dir) {
  auto write = [&dir](const std::string& name, const std::vector<uint8_t>& bytes) { WriteData(dir, name, bytes); };
  for (int i = 0; i < kSceneCount; ++i) {
    write(kShowSceneFiles[i].sceneFile, BuildShowScene(i, ShowSceneSeconds(i)));
    char name[32];
    std::snprintf(name, sizeof name, kOverlayFileFormat, i + 1);
    write(name, BuildShowOverlays(i));
  }
  write(kFontFile, BuildShowFont());
  for (const ShowImage& image : BuildShowOverlayImages()) write(image.name, image.bitmap);
  write(kCharacterAnimationFile, BuildShowAnimation());
  write(kCharacterMeshFile, BuildShowMesh());
}

// Frames of qz2-tool render drawn by both back ends from the data in work/data, into work/gl_FRAME.png and
// work/d3d_FRAME.png.
class CrossBackEnd : public testing::Test {
 protected:
  void SetUp() override {
    windowsTool_ = std::getenv("QZ2_WINDOWS_TOOL");
    if (!windowsTool_ || !*windowsTool_) GTEST_SKIP() << "QZ2_WINDOWS_TOOL names no Windows build of qz2-tool";
    // A Wine prefix of the build's own, made on first use, so that no other Wine run shares its server. A
    // server left by an earlier test is bound to that test's display, which is gone; a new one stays up between
    // this test's renders.
    std::filesystem::create_directories(QZ2_WINE_PREFIX);
    const std::string server = wine_ + "/usr/lib/wine/wineserver";
    ASSERT_EQ(std::system((server + " -k 2>/dev/null; " + server + " -p5").c_str()), 0);
  }
  void TearDown() override { std::filesystem::remove_all(work_); }

  // The frames of a scene at the times, all drawn at once by both back ends.
  void Render(int scene, const std::vector<float>& times) {
    std::string renders = "cd '" + work_.string() + "' && (";
    for (float time : times) {
      char args[64];
      std::snprintf(args, sizeof args, " --scene %d --time %g --out ", scene, time);
      const std::string frame = Frame(scene, time);
      renders += std::string(QZ2_TOOL) + " render data" + args + "gl_" + frame + ".png > /dev/null & ";
      renders += wine_ + "/usr/lib/wine/wine64 '" + windowsTool_ + "' render data" + args + "d3d_" + frame +
                 ".png > /dev/null & ";
    }
    ASSERT_EQ(std::system((renders + "wait)").c_str()), 0);
  }
  static std::string Frame(int scene, float time) {
    return std::to_string(scene) + "_" + std::to_string(static_cast<int>(time));
  }
  void Read(const std::string& frame, Picture& gl, Picture& d3d) {
    ASSERT_TRUE(ReadPng((work_ / ("gl_" + frame + ".png")).string(), gl)) << "no OpenGL picture of " << frame;
    ASSERT_TRUE(ReadPng((work_ / ("d3d_" + frame + ".png")).string(), d3d)) << "no Direct3D 7 picture of " << frame;
  }

  const std::filesystem::path work_ =
      std::filesystem::path(testing::TempDir()) / ("qz2_cross_" + std::to_string(getpid()));
  const std::string wine_ = std::string("WINEPREFIX='") + QZ2_WINE_PREFIX + "' WINEDEBUG=-all ";
  const char* windowsTool_ = nullptr;
};

TEST_F(CrossBackEnd, BothBackEndsDrawTheShowAlike) {
  WriteShowData(work_ / "data");
  constexpr int kScenes[] = {1, 4, 9};
  const std::vector<float> times = {1, 6, 11};
  for (int scene : kScenes) {
    Render(scene, times);
    for (float time : times) {
      const std::string frame = Frame(scene, time);
      Picture gl, d3d;
      Read(frame, gl, d3d);
      const Comparison c = Compare(gl, d3d);
      std::printf("scene %d at %g s: mean difference %.2f %.2f %.2f /255, cell coverage %.3f, centre shift %.2f px\n",
                  scene, time, c.meanDifference[0], c.meanDifference[1], c.meanDifference[2], c.worstCoverage,
                  c.worstShift);
      for (double d : c.meanDifference) EXPECT_LE(d, kMaxMeanDifference) << frame;
      EXPECT_LE(c.worstCoverage, kMaxCoverageDifference) << frame;
      EXPECT_LE(c.worstShift, kMaxCentroidShift) << frame;
    }
  }
}

// A font image of 38 cells of 16 pixels (608 wide) and an image of 100 x 60, neither a power of two wide: the
// Direct3D 7 surfaces are larger, yet glyphs are cut and images sized in the image's own pixels.
TEST_F(CrossBackEnd, ImagesOfAnySizeAreCutAndSizedAsTheImage) {
  constexpr int kCells = 38, kCellSide = 16, kGlyphSide = 12;  // each glyph a square inside black, keyed, margins
  auto glyphColour = [](int cell) {
    return BmpColour{static_cast<uint8_t>(40 + 50 * (cell % 5)), static_cast<uint8_t>(40 + 50 * (cell / 5 % 5)),
                     static_cast<uint8_t>(40 + 100 * (cell / 25))};
  };
  std::vector<uint8_t> font(kCells * kCellSide * kCellSide * 3, 0);
  for (int y = 2; y < 2 + kGlyphSide; ++y) {
    for (int x = 0; x < kCells * kCellSide; ++x) {
      if (x % kCellSide < 2 || x % kCellSide >= 2 + kGlyphSide) continue;
      const BmpColour c = glyphColour(x / kCellSide);
      uint8_t* p = &font[(static_cast<size_t>(y) * kCells * kCellSide + x) * 3];
      p[0] = c.red, p[1] = c.green, p[2] = c.blue;
    }
  }
  // Four upright bands: red, green, blue, white.
  constexpr int kImageWidth = 100, kImageHeight = 60;
  constexpr BmpColour kBands[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  std::vector<uint8_t> image(kImageWidth * kImageHeight * 3);
  for (size_t i = 0; i < image.size(); i += 3) {
    const BmpColour c = kBands[i / 3 % kImageWidth / (kImageWidth / 4)];
    image[i] = c.red, image[i + 1] = c.green, image[i + 2] = c.blue;
  }
  const std::filesystem::path data = work_ / "data";
  WriteData(data, "font608.bmp", EncodeBmp24(kCells * kCellSide, kCellSide, font.data()));
  WriteData(data, "bands.bmp", EncodeBmp24(kImageWidth, kImageHeight, image.data()));
  constexpr int kScale = 3;
  OverlayRecord text = TextOverlayRecord("font608.bmp", "Hello", "HELLO WORLD", kCellSide, kCellSide, 3, 0, 10);
  OverlayRecord bands = ImageOverlayRecord("bands.bmp", "Bands", 0, 0, 10);
  text.x0 = text.x1 = bands.x0 = bands.x1 = 0.1f;
  text.y0 = text.y1 = 0.1f;
  bands.y0 = bands.y1 = 0.5f;
  text.scale0 = text.scale1 = bands.scale0 = bands.scale1 = kScale;
  WriteData(data, "over1.dat", OverlayFileBytes({text, bands}));
  // Nothing but a camera behind them; the scene's font and the character are set up with every scene.
  Qz3Writer scene;
  scene.Camera(CameraRecord("Camera01", 0, 1.0f, {0, 0, -10}, {0, 0, 0}));
  scene.End();
  WriteData(data, kShowSceneFiles[0].sceneFile, scene.Bytes());
  WriteData(data, kFontFile, BuildShowFont());
  WriteData(data, kCharacterAnimationFile, BuildShowAnimation());
  WriteData(data, kCharacterMeshFile, BuildShowMesh());
  Render(1, {1});

  Picture gl, d3d;
  Read(Frame(1, 1), gl, d3d);
  // The middle of each glyph, and each band and the image's edges, at the image's size times the scale.
  struct Probe {
    int x, y;
    BmpColour colour;
  };
  std::vector<Probe> probes;
  const int left = kWidth / 10, glyphSide = kCellSide * kScale;
  const char* hello = "HELLO WORLD";
  for (int i = 0; hello[i]; ++i) {
    if (hello[i] == ' ') continue;
    probes.push_back({left + glyphSide * i + glyphSide / 2, kHeight / 10 + glyphSide / 2, glyphColour(hello[i] - 'A')});
  }
  const int top = kHeight / 2, bandWidth = kImageWidth / 4 * kScale, imageHeight = kImageHeight * kScale;
  for (int band = 0; band < 4; ++band) {
    probes.push_back({left + bandWidth * band + bandWidth / 2, top + 4, kBands[band]});
  }
  probes.push_back({left + bandWidth * 4 - 3, top + imageHeight - 3, kBands[3]});
  probes.push_back({left + bandWidth * 4 + 3, top + imageHeight / 2, {0, 0, 0}});
  probes.push_back({left + bandWidth, top + imageHeight + 3, {0, 0, 0}});
  for (const Picture* picture : {&gl, &d3d}) {
    const char* name = picture == &gl ? "OpenGL" : "Direct3D 7";
    for (const Probe& p : probes) {
      const uint8_t* c = picture->At(p.x, p.y);
      EXPECT_NEAR(c[0], p.colour.red, 12) << name << " at " << p.x << ", " << p.y;
      EXPECT_NEAR(c[1], p.colour.green, 12) << name << " at " << p.x << ", " << p.y;
      EXPECT_NEAR(c[2], p.colour.blue, 12) << name << " at " << p.x << ", " << p.y;
    }
  }
  const Comparison c = Compare(gl, d3d);
  for (double d : c.meanDifference) EXPECT_LE(d, kMaxMeanDifference);
  EXPECT_LE(c.worstCoverage, kMaxCoverageDifference);
  EXPECT_LE(c.worstShift, kMaxCentroidShift);
}

}  // namespace
