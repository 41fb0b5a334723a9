// Both back ends draw the default show alike: frames of qz2-tool render with OpenGL here and with Direct3D 7 in
// the Windows build's qz2-tool.exe under Wine, named by QZ2_WINDOWS_TOOL (the test command sets it once it has
// cross-built the program; without it the test is skipped).
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
#include "tools/content/file_writer.h"
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

// The default show's files that drawing needs (no music), as the pack holds them.
void WriteShowData(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  auto write = [&dir](const std::string& name, const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(WriteBytesFile((dir / name).c_str(), bytes)) << name;
  };
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

TEST(CrossBackEnd, BothBackEndsDrawTheShowAlike) {
  const char* windowsTool = std::getenv("QZ2_WINDOWS_TOOL");
  if (!windowsTool || !*windowsTool) GTEST_SKIP() << "QZ2_WINDOWS_TOOL names no Windows build of qz2-tool";
  const std::filesystem::path work =
      std::filesystem::path(testing::TempDir()) / ("qz2_cross_" + std::to_string(getpid()));
  WriteShowData(work / "data");
  // A Wine prefix of the build's own, made on first use, so that no other Wine run shares its server; the
  // server stays up between the renders.
  std::filesystem::create_directories(QZ2_WINE_PREFIX);
  const std::string wine = std::string("WINEPREFIX='") + QZ2_WINE_PREFIX + "' WINEDEBUG=-all ";
  ASSERT_EQ(std::system((wine + "/usr/lib/wine/wineserver -p5").c_str()), 0);

  constexpr int kScenes[] = {1, 4, 9};
  constexpr float kTimes[] = {1, 6, 11};
  for (int scene : kScenes) {
    // The scene's frames, all drawn at once by both back ends.
    std::string renders = "cd '" + work.string() + "' && (";
    for (float time : kTimes) {
      char args[64];
      std::snprintf(args, sizeof args, " --scene %d --time %g --out ", scene, time);
      const std::string frame = std::to_string(scene) + "_" + std::to_string(static_cast<int>(time));
      renders += std::string(QZ2_TOOL) + " render data" + args + "gl_" + frame + ".png > /dev/null & ";
      renders += wine + "/usr/lib/wine/wine64 '" + windowsTool + "' render data" + args + "d3d_" + frame +
                 ".png > /dev/null & ";
    }
    ASSERT_EQ(std::system((renders + "wait)").c_str()), 0);
    for (float time : kTimes) {
      const std::string frame = std::to_string(scene) + "_" + std::to_string(static_cast<int>(time));
      Picture gl, d3d;
      ASSERT_TRUE(ReadPng((work / ("gl_" + frame + ".png")).string(), gl)) << "no OpenGL picture of " << frame;
      ASSERT_TRUE(ReadPng((work / ("d3d_" + frame + ".png")).string(), d3d)) << "no Direct3D 7 picture of " << frame;
      const Comparison c = Compare(gl, d3d);
      std::printf("scene %d at %g s: mean difference %.2f %.2f %.2f /255, cell coverage %.3f, centre shift %.2f px\n",
                  scene, time, c.meanDifference[0], c.meanDifference[1], c.meanDifference[2], c.worstCoverage,
                  c.worstShift);
      for (double d : c.meanDifference) EXPECT_LE(d, kMaxMeanDifference) << frame;
      EXPECT_LE(c.worstCoverage, kMaxCoverageDifference) << frame;
      EXPECT_LE(c.worstShift, kMaxCentroidShift) << frame;
    }
  }
  std::filesystem::remove_all(work);
}

}  // namespace
