// Every back end draws any pack alike, cell by cell: frames of qz2-tool render with OpenGL here and with Direct3D 7
// in the Windows build's qz2-tool.exe under Wine, named by QZ2_WINDOWS_TOOL (the test command sets it once it has
// cross-built the program; without it that comparison is skipped); and with OpenGL and the shader back end here,
// when QZ2_COMPARE_SHADER is set (the test command runs it as a step of its own: it takes minutes); and the
// browser build's page against OpenGL, when QZ2_WEB_SHOW names the page's folder.
//
// To look at a frame from both back ends side by side, write a pack's files into a directory (the variety pack:
// build/sanitize/tools/content/qz2-content --variety DIR; the default show: bsdtar -xf
// build/sanitize/show/PACK.ZUL -C DIR) and render the frame with each tool:
//   build/sanitize/tools/qz2-tool render DIR --scene N --time T --out gl.png
//   xvfb-run -a -s "-screen 0 800x600x24" /usr/lib/wine/wine64 build/windows/tools/qz2-tool.exe render DIR
//       --scene N --time T --out d3d7.png
//   build/sanitize/tools/qz2-tool render DIR --scene N --time T --out gles.png --renderer gles
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "driver/show_files.h"
#include "tests/png_picture.h"
#include "tests/support.h"
#include "tools/content/pack_files.h"
#include "tools/content/qz3_writer.h"
#include "tools/content/show_scenes.h"
#include "tools/content/variety_pack.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kCell = 40;
constexpr size_t kRunsPerSource = 2;

// The largest mean absolute difference of a channel over the frame, and over one cell, in 1/255.
struct Limits {
  double frame, cell;
};
constexpr Limits kBackEndLimits = {3.0, 16.0};
// The page's picture goes through WebGL on SwiftShader.
constexpr Limits kPageLimits = {4.0, 24.0};

// A back end drawing frames: the command that runs qz2-tool with it, what follows render's arguments, and the name
// its pictures go by.
struct FrameSource {
  const char* name;
  std::string command;
  std::string options;
};

struct Frame {
  int scene;
  float time;
};

// The mean absolute differences of the three channels over the frame, and the largest over one cell.
struct Difference {
  double frame[3] = {};
  double worstCell = 0;
  int cellX = 0, cellY = 0;  // the worst cell's top-left pixel
  double WorstChannel() const { return std::max({frame[0], frame[1], frame[2]}); }
};

Difference Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  Difference d;
  for (int top = 0; top < kHeight; top += kCell) {
    for (int left = 0; left < kWidth; left += kCell) {
      double cell[3] = {};
      for (int y = top; y < top + kCell; ++y) {
        const size_t row = (static_cast<size_t>(y) * kWidth + left) * 3;
        for (size_t i = row; i < row + kCell * 3; ++i) cell[i % 3] += std::abs(a[i] - b[i]);
      }
      for (int c = 0; c < 3; ++c) {
        d.frame[c] += cell[c];
        const double mean = cell[c] / (kCell * kCell);
        if (mean <= d.worstCell) continue;
        d.worstCell = mean;
        d.cellX = left;
        d.cellY = top;
      }
    }
  }
  for (double& f : d.frame) f /= static_cast<double>(kWidth) * kHeight;
  return d;
}

// The caller's Wine prefix (the test command shares one among its Wine steps), or else one of the build's own, so
// that no other Wine run shares its server.
std::string WinePrefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  return prefix && *prefix ? prefix : QZ2_WINE_PREFIX;
}
std::string Wine() { return "WINEPREFIX='" + WinePrefix() + "' WINEDEBUG=-all "; }

// Draws every frame of the pack with both back ends in the work directory and prints the table; every frame must
// keep within both limits.
void ComparePack(const std::filesystem::path& work, const FrameSource (&sources)[2], const Limits& limits,
                 const char* pack, const std::vector<RarEntry>& files, const std::vector<Frame>& frames) {
  const std::filesystem::path data = work / pack;
  std::filesystem::create_directories(data);
  ASSERT_TRUE(WriteDataFiles(data.string(), files));
  auto picture = [&data](const FrameSource& source, size_t i) {
    return (data / (std::string(source.name) + "_" + std::to_string(i) + ".png")).string();
  };
  // Each source draws its frames in runs of its own, as many at once as there are processors.
  const size_t perRun = (frames.size() + kRunsPerSource - 1) / kRunsPerSource;
  std::string renders = "cd '" + data.string() + "' && (";
  for (const FrameSource& source : sources) {
    for (size_t first = 0; first < frames.size(); first += perRun) {
      renders += source.command + " render .";
      for (size_t i = first; i < std::min(frames.size(), first + perRun); ++i) {
        char args[64];
        std::snprintf(args, sizeof args, " --scene %d --time %g", frames[i].scene, frames[i].time);
        renders += args + std::string(" --out '") + picture(source, i) + "'";
      }
      renders += source.options + " > /dev/null & ";
    }
  }
  ASSERT_EQ(std::system((renders + "wait)").c_str()), 0);
  std::printf("%-8s %5s %6s  %-22s %-16s (%s against %s)\n", pack, "scene", "time", "frame mean R G B /255",
              "worst cell /255", sources[0].name, sources[1].name);
  for (size_t i = 0; i < frames.size(); ++i) {
    const Frame& f = frames[i];
    Picture a, b;
    for (auto [source, read] : {std::pair{&sources[0], &a}, {&sources[1], &b}}) {
      ASSERT_TRUE(ReadPng(picture(*source, i), *read) && read->width == kWidth && read->height == kHeight)
          << "no picture from " << source->name;
    }
    const Difference d = Compare(a.rgb, b.rgb);
    const bool within = d.WorstChannel() <= limits.frame && d.worstCell <= limits.cell;
    std::printf("%-8s %5d %6g  %6.2f %6.2f %6.2f   %6.2f at (%3d, %3d)  %s\n", "", f.scene, f.time, d.frame[0],
                d.frame[1], d.frame[2], d.worstCell, d.cellX, d.cellY, within ? "" : "TOO FAR");
    EXPECT_LE(d.WorstChannel(), limits.frame) << pack << " scene " << f.scene << " at " << f.time << " s";
    EXPECT_LE(d.worstCell, limits.cell) << pack << " scene " << f.scene << " at " << f.time << " s, cell at ("
                                        << d.cellX << ", " << d.cellY << ")";
  }
}

// The variety pack's overlays over scenes of nothing but a camera: images of odd sizes in every bitmap kind and
// fonts whose widths are no powers of two, which Direct3D 7 stretches over larger surfaces, without the lighting.
std::vector<RarEntry> OverlaysAlone() {
  Qz3Writer camera;
  camera.Camera(CameraRecord("Camera01", 0, 1.0f, {0, 0, -10}, {0, 0, 0}));
  camera.End();
  std::vector<RarEntry> files = BuildVarietyFiles();
  for (RarEntry& file : files) {
    for (const ShowSceneFiles& scene : kShowSceneFiles) {
      if (file.name == scene.sceneFile) file.data = camera.Bytes();
    }
  }
  return files;
}

// The default show's frames at three times of three scenes, every scene of the variety pack twice, and its
// overlays alone but for the character's scene.
void CompareBothPacks(const FrameSource (&sources)[2]) {
  const Scratch scratch;
  const std::filesystem::path& work = scratch.Path();
  std::vector<Frame> frames;
  for (int scene : {1, 4, 9}) {
    for (float time : {1.0f, 6.0f, 11.0f}) frames.push_back({scene, time});
  }
  ComparePack(work, sources, kBackEndLimits, "default",
              BuildShowFilesWithoutMusic(kSceneCount, ShowSceneSeconds), frames);
  frames.clear();
  for (int scene = 1; scene <= kSceneCount; ++scene) {
    for (float time : kVarietyFrameTimes) frames.push_back({scene, time});
  }
  ComparePack(work, sources, kBackEndLimits, "variety", BuildVarietyFiles(), frames);
  std::erase_if(frames, [](const Frame& f) { return f.scene == kCharacterScene + 1; });
  ComparePack(work, sources, kBackEndLimits, "overlays", OverlaysAlone(), frames);
}

TEST(CrossBackEnd, BothBackEndsDrawEveryPackAlike) {
  const char* windowsTool = std::getenv("QZ2_WINDOWS_TOOL");
  if (!windowsTool || !*windowsTool) GTEST_SKIP() << "QZ2_WINDOWS_TOOL names no Windows build of qz2-tool";
  // The prefix is made on first use; the server stays up between the renders.
  std::filesystem::create_directories(WinePrefix());
  ASSERT_EQ(std::system((Wine() + "/usr/lib/wine/wineserver -p5").c_str()), 0);
  const FrameSource sources[2] = {{"gl", QZ2_TOOL, ""},
                                  {"d3d", Wine() + "/usr/lib/wine/wine64 '" + windowsTool + "'", ""}};
  CompareBothPacks(sources);
}

// The shader back end draws what the OpenGL back end draws.
TEST(CrossBackEnd, ShaderBackEndDrawsEveryPackAsOpenGLDoes) {
  if (!std::getenv("QZ2_COMPARE_SHADER")) GTEST_SKIP() << "QZ2_COMPARE_SHADER is not set";
  const FrameSource sources[2] = {{"gl", QZ2_TOOL, ""}, {"gles", QZ2_TOOL, " --renderer gles"}};
  CompareBothPacks(sources);
}

// The page draws what qz2-tool render draws: index.html?scene=N&still=T in headless Chromium, for the show's folder
// named by QZ2_WEB_SHOW (the test command sets it once it has built the page).
TEST(CrossBackEnd, PageDrawsTheShowAsTheToolDoes) {
  const char* show = std::getenv("QZ2_WEB_SHOW");
  if (!show || !*show) GTEST_SKIP() << "QZ2_WEB_SHOW names no folder of the browser build";
  const FrameSource sources[2] = {{"gl", QZ2_TOOL, ""},
                                  {"page", std::string("node '") + QZ2_WEB_STILL + "' '" + show + "'", ""}};
  const Scratch scratch;
  std::vector<Frame> frames;
  for (int scene : {1, 4, 9}) {
    for (float time : {1.0f, 6.0f, 11.0f}) frames.push_back({scene, time});
  }
  ComparePack(scratch.Path(), sources, kPageLimits, "default",
              BuildShowFilesWithoutMusic(kSceneCount, ShowSceneSeconds), frames);
}

}  // namespace
