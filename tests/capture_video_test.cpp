// qz2-tool capture (through qz2-capture): a short pack recorded twice and read back with ffprobe and ffmpeg.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kFps = 25;
constexpr int kSoundRate = 48000;
// Two scenes of two seconds: frames 0 to 50 of each, the last at the end of its camera track.
constexpr int kSceneFrames = 2 * kFps + 1;

// Standard output of a command, whole.
std::string Output(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  pclose(pipe);
  return out;
}

int Status(const std::string& command) {
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

template <class T>
std::vector<T> Samples(const std::string& bytes) {
  std::vector<T> out(bytes.size() / sizeof(T));
  std::memcpy(out.data(), bytes.data(), out.size() * sizeof(T));
  return out;
}

class Capture : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = new Scratch;
    dir_ = scratch_->Path();
    fs::create_directories(dir_ / "data");
    ASSERT_EQ(Status(std::string(QZ2_CONTENT) + " --short " + dir_.string()), 0);
    ASSERT_EQ(Status("cd " + (dir_ / "data").string() + " && bsdtar xf ../PACK.ZUL"), 0);
    for (const char* name : {"a.mp4", "b.mp4"}) {
      const std::string log = (dir_ / name).string() + ".log";
      ASSERT_EQ(Status(Capture::Command((dir_ / "PACK.ZUL").string(), name) + " >" + log + " 2>&1"), 0)
          << Output("cat " + log);
    }
  }
  static void TearDownTestSuite() { delete scratch_; }

  static std::string Command(const std::string& pack, const std::string& out, const std::string& options = "") {
    return std::string(QZ2_TOOL) + " capture " + pack + " --out " + (dir_ / out).string() + " --size " +
           std::to_string(kWidth) + "x" + std::to_string(kHeight) + " --fps " + std::to_string(kFps) +
           " --scenes 1-2 " + options;
  }
  static std::string Video(const char* name) { return (dir_ / name).string(); }

  static Scratch* scratch_;
  static fs::path dir_;
};

Scratch* Capture::scratch_;
fs::path Capture::dir_;

TEST_F(Capture, EveryFrameOfTheShowAndSoundAsLongAsThePicture) {
  const std::string probe = "ffprobe -v error -count_frames -of default=nw=1:nk=1 -show_entries ";
  EXPECT_EQ(std::stoi(Output(probe + "stream=nb_read_frames -select_streams v " + Video("a.mp4"))), 2 * kSceneFrames);
  const double picture = std::stod(Output(probe + "stream=duration -select_streams v " + Video("a.mp4")));
  const double sound = std::stod(Output(probe + "stream=duration -select_streams a " + Video("a.mp4")));
  EXPECT_NEAR(sound, picture, 1.0 / kFps);
}

TEST_F(Capture, TwoCapturesDecodeToTheSameFrames) {
  auto hashes = [](const char* name) {
    return Output("ffmpeg -v error -i " + Video(name) + " -map 0:v -f framemd5 -");
  };
  const std::string a = hashes("a.mp4");
  // One line a frame after the lines of the header, which start with '#'.
  int frames = 0;
  for (size_t line = 0, end; line < a.size(); line = end + 1) {
    end = std::min(a.find('\n', line), a.size());
    frames += a[line] != '#';
  }
  EXPECT_EQ(frames, 2 * kSceneFrames) << a;
  EXPECT_EQ(a, hashes("b.mp4"));
}

// Luma averaged over cells of a coarse grid: the capture and the render are rasterised at different sizes,
// so single pixels along the edges differ while the picture does not. The cells span several squares of
// the distant checkered floor, whose aliasing depends on the raster's size.
constexpr int kGridWidth = 40;
constexpr int kGridHeight = 30;

std::vector<double> GridLuma(const std::vector<uint8_t>& rgb, int width, int height) {
  std::vector<double> grid(kGridWidth * kGridHeight);
  const int cellW = width / kGridWidth, cellH = height / kGridHeight;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
      grid[(y / cellH) * kGridWidth + x / cellW] += (0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]) / (cellW * cellH);
    }
  }
  return grid;
}

TEST_F(Capture, AFrameLooksLikeTheRenderOfItsTime) {
  // Scene 2 at one second: frame 25 of the second scene.
  const int frame = kSceneFrames + kFps;
  const std::string png = Video("render.png");
  ASSERT_EQ(Status(std::string(QZ2_TOOL) + " render " + (dir_ / "data").string() + " --scene 2 --time 1 --out " + png +
                   " >/dev/null"),
            0);
  const std::string raw = " -f rawvideo -pix_fmt rgb24 -";
  auto captured = Samples<uint8_t>(Output("ffmpeg -v error -i " + Video("a.mp4") + " -vf 'select=eq(n\\," +
                                          std::to_string(frame) + ")' -frames:v 1" + raw));
  auto rendered = Samples<uint8_t>(Output("ffmpeg -v error -i " + png + raw));
  ASSERT_EQ(captured.size(), size_t{kWidth} * kHeight * 3);
  ASSERT_EQ(rendered.size(), size_t{800} * 600 * 3);
  const std::vector<double> a = GridLuma(captured, kWidth, kHeight), b = GridLuma(rendered, 800, 600);
  double squares = 0;
  for (size_t i = 0; i < a.size(); ++i) squares += (a[i] - b[i]) * (a[i] - b[i]);
  const double psnr = 10 * std::log10(255.0 * 255.0 / (squares / a.size()));
  EXPECT_GE(psnr, 35.0);
}

TEST_F(Capture, TheMusicStartsWithTheFirstFrame) {
  // The decoder's own output of the track, at the video's rate.
  const std::string wav = Video("track.wav");
  ASSERT_EQ(Status(std::string(QZ2_TOOL) + " mp3 " + (dir_ / "data" / "mp31.mp3").string() + " " + wav + " >/dev/null"),
            0);
  const std::string mono = " -ac 1 -ar " + std::to_string(kSoundRate) + " -f f32le -";
  auto track = Samples<float>(Output("ffmpeg -v error -i " + wav + mono));
  auto heard = Samples<float>(Output("ffmpeg -v error -i " + Video("a.mp4") + " -map 0:a" + mono));
  // The lag that lines the two up best, searched a tenth of a second each way over the first second.
  const int window = kSoundRate, reach = kSoundRate / 10;
  ASSERT_GE(track.size(), size_t(window + 2 * reach));
  ASSERT_GE(heard.size(), size_t(window + 2 * reach));
  int best = 0;
  double bestSum = -1e30;
  for (int lag = -reach; lag <= reach; ++lag) {
    double sum = 0;
    for (int i = reach; i < window + reach; ++i) sum += double(track[i]) * heard[i + lag];
    if (sum > bestSum) bestSum = sum, best = lag;
  }
  // Within the sound encoder's frame of 1024 samples.
  EXPECT_LE(std::abs(best), 1024) << "lag " << best;
}

// qz2-tool hands capture over to qz2-capture: every other command starts without FFmpeg's many libraries.
TEST_F(Capture, OnlyTheCaptureProgramLoadsFfmpeg) {
  EXPECT_EQ(Output(std::string("LD_TRACE_LOADED_OBJECTS=1 ") + QZ2_TOOL).find("libavcodec"), std::string::npos);
}

TEST_F(Capture, RefusedRequestsLeaveNoFile) {
  struct Case {
    std::string pack;
    const char* out;
    const char* options;
    int status;
  } cases[] = {
      {(dir_ / "PACK.ZUL").string(), "odd.mp4", "--size 321x240", 2},
      {(dir_ / "PACK.ZUL").string(), "huge.mp4", "--size 16000x240", 2},
      {(dir_ / "PACK.ZUL").string(), "film.avi", "", 2},
      {(dir_ / "PACK.ZUL").string(), "nowhere/film.mp4", "", 2},
      {(dir_ / "missing.ZUL").string(), "missing.mp4", "", 255},
  };
  for (const Case& c : cases) {
    // The last --size given wins.
    EXPECT_EQ(Status(Command(c.pack, c.out, c.options) + " >/dev/null 2>&1"), c.status) << c.out;
    EXPECT_FALSE(fs::exists(dir_ / c.out)) << c.out;
  }
}

}  // namespace
