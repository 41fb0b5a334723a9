// qz2-tool capture, run by qz2-capture: the show played offline, frame by frame, into a video file with its music.
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include "core/error.h"
#include "driver/pack.h"
#include "driver/show.h"
#include "driver/show_parts.h"
#include "music/mp3_decoder.h"
#include "render/gl/gl_renderer.h"
#include "scene/camera.h"
#include "scene/move.h"
#include "scene/view.h"
#include "tools/qz2_tool/tool.h"
#include "tools/qz2_tool/video_file.h"

namespace {

constexpr int kLargestFps = 240;
// A scene whose camera track would run longer (or never ends) is cut there.
constexpr int kLongestSceneSeconds = 3600;
constexpr int kUsageStatus = 2;
constexpr int kStoppedStatus = 130;

struct CaptureArgs {
  const char* pack = nullptr;
  const char* out = nullptr;
  VideoSettings video{1920, 1080, 60};
  int firstScene = 1;
  int lastScene = kSceneCount;
};

volatile sig_atomic_t g_stopRequested = 0;

void RequestStop(int) { g_stopRequested = 1; }

bool ParseInt(const char* text, int& value, char stop = '\0', const char** rest = nullptr) {
  char* end = nullptr;
  long n = std::strtol(text, &end, 10);
  if (end == text || *end != stop || n < 0 || n > 1000000) return false;
  value = static_cast<int>(n);
  if (rest) *rest = end + 1;
  return true;
}

// False with a line in error for anything the capture cannot take.
bool ParseArgs(int argc, char** argv, CaptureArgs& args, std::string& error) {
  if (argc < 2) return false;
  args.pack = argv[1];
  for (int i = 2; i < argc; i += 2) {
    const char* option = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    const char* rest = nullptr;
    if (!value) {
      error = std::string(option) + " needs a value";
      return false;
    }
    if (std::strcmp(option, "--out") == 0) {
      args.out = value;
    } else if (std::strcmp(option, "--size") == 0) {
      if (!ParseInt(value, args.video.width, 'x', &rest) || !ParseInt(rest, args.video.height)) {
        error = "--size takes WIDTHxHEIGHT";
        return false;
      }
    } else if (std::strcmp(option, "--fps") == 0) {
      if (!ParseInt(value, args.video.fps) || args.video.fps < 1 || args.video.fps > kLargestFps) {
        error = "--fps takes a number of frames per second from 1 to " + std::to_string(kLargestFps);
        return false;
      }
    } else if (std::strcmp(option, "--scenes") == 0) {
      if (!ParseInt(value, args.firstScene, '-', &rest) || !ParseInt(rest, args.lastScene) || args.firstScene < 1 ||
          args.firstScene > args.lastScene || args.lastScene > kSceneCount) {
        error = "--scenes takes A-B with 1 <= A <= B <= " + std::to_string(kSceneCount);
        return false;
      }
    } else {
      error = std::string("unknown option ") + option;
      return false;
    }
  }
  if (!args.out) {
    error = "--out is needed";
    return false;
  }
  const VideoSettings& v = args.video;
  if (v.width < 2 || v.height < 2 || v.width % 2 || v.height % 2) {
    error = "the size must be even in both directions";
  } else if (v.width > kLargestVideoWidth || v.height > kLargestVideoHeight) {
    error = "the size is larger than " + std::to_string(kLargestVideoWidth) + "x" + std::to_string(kLargestVideoHeight);
  } else if (!VideoContainerKnown(args.out)) {
    error = "unknown container for " + std::string(args.out) + " (use .mp4, .mkv or .webm)";
  }
  return error.empty();
}

// What is left behind when the capture ends early: a fatal report ends the process from deep inside.
struct Leftovers {
  char dataDirectory[kDataPathSize] = "";
  std::string partialVideo;
} g_leftovers;

void CleanUp() {
  if (!g_leftovers.partialVideo.empty()) std::remove(g_leftovers.partialVideo.c_str());
  if (g_leftovers.dataDirectory[0]) DeleteDataDir(g_leftovers.dataDirectory);
}

// The decoded track as 16-bit stereo at its own rate.
class PcmCollector : public OutputSink {
 public:
  void Begin(int32_t rate) override { rate_ = rate; }
  bool Write(const int16_t* samples, uint32_t bytes) override {
    pcm_.insert(pcm_.end(), samples, samples + bytes / sizeof(int16_t));
    return true;
  }
  void End() override {}

  int32_t rate_ = 0;
  std::vector<int16_t> pcm_;
};

// The player as the capture hears it: each track decoded whole by the player's decoder when opened,
// resampled to the video's rate, and heard from its start to its stop on the video's timeline.
class CaptureMusic : public MusicParts {
 public:
  void Open(const char* path) override {
    opened_.clear();
    PcmCollector collector;
    // A file that cannot be read is silence, as it is for the player.
    if (!DecodeTrack(*decoder_, path, collector).opened || collector.rate_ <= 0 || collector.pcm_.empty()) return;
    opened_ = Resample(collector.pcm_, collector.rate_);
  }
  void Start() override {
    playing_ = std::move(opened_);
    opened_.clear();
    position_ = 0;
  }
  void Stop() override { playing_.clear(); }

  // The next frames of what is heard, silence past the track's end.
  void Fill(float* out, size_t frames) {
    const size_t available = std::min(frames, playing_.size() / 2 - std::min(position_, playing_.size() / 2));
    std::copy_n(playing_.begin() + static_cast<ptrdiff_t>(position_ * 2), available * 2, out);
    std::fill(out + available * 2, out + frames * 2, 0.0f);
    position_ += frames;
  }

 private:
  static std::vector<float> Resample(const std::vector<int16_t>& pcm, int rate) {
    AVChannelLayout stereo;
    av_channel_layout_default(&stereo, 2);
    SwrContext* swr = nullptr;
    std::vector<float> out;
    if (swr_alloc_set_opts2(&swr, &stereo, AV_SAMPLE_FMT_FLT, kVideoSoundRate, &stereo, AV_SAMPLE_FMT_S16, rate, 0,
                            nullptr) < 0 ||
        swr_init(swr) < 0) {
      swr_free(&swr);
      return out;
    }
    const int inFrames = static_cast<int>(pcm.size() / 2);
    out.resize((static_cast<size_t>(swr_get_out_samples(swr, inFrames)) + 64) * 2);
    const uint8_t* in[1] = {reinterpret_cast<const uint8_t*>(pcm.data())};
    uint8_t* dst[1] = {reinterpret_cast<uint8_t*>(out.data())};
    int made = swr_convert(swr, dst, static_cast<int>(out.size() / 2), in, inFrames);
    // The resampler's last samples are drained too.
    if (made >= 0) {
      uint8_t* tail[1] = {reinterpret_cast<uint8_t*>(out.data() + made * 2)};
      int drained = swr_convert(swr, tail, static_cast<int>(out.size() / 2) - made, nullptr, 0);
      made += std::max(drained, 0);
    }
    swr_free(&swr);
    out.resize(static_cast<size_t>(std::max(made, 0)) * 2);
    return out;
  }

  std::unique_ptr<Mp3Decoder> decoder_ = std::make_unique<Mp3Decoder>();
  std::vector<float> opened_;
  std::vector<float> playing_;
  size_t position_ = 0;
};

// Seconds spent drawing, waiting for a free buffer and reading back, for the summary.
struct StageTimes {
  double drawing = 0;
  double waiting = 0;
  double readingBack = 0;
};

double Since(std::chrono::steady_clock::time_point& mark) {
  const auto now = std::chrono::steady_clock::now();
  const double seconds = std::chrono::duration<double>(now - mark).count();
  mark = now;
  return seconds;
}

// Encodes on a thread of its own, so that the next frame is drawn while this one is encoded. Frames are
// handed over in a small ring of buffers, reused from frame to frame.
class EncodingQueue {
 public:
  struct Slot {
    std::vector<uint8_t> rgb;
    std::vector<float> sound;  // interleaved stereo
  };

  EncodingQueue(VideoFile& video, size_t pictureBytes) : video_(video) {
    for (Slot& slot : slots_) slot.rgb.resize(pictureBytes);
    worker_ = std::thread([this] { Work(); });
  }
  ~EncodingQueue() { Finish(); }

  // The next slot to fill; waits while every slot is still to be encoded.
  Slot& Next() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return queued_ < kSlots; });
    return slots_[(first_ + queued_) % kSlots];
  }
  // Hands the slot Next gave over to the encoder; false once a write has failed.
  bool Submit() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++queued_;
    changed_.notify_all();
    return !failed_;
  }
  // Waits for every frame handed over; false when any of them could not be written.
  bool Finish() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      closing_ = true;
      changed_.notify_all();
    }
    if (worker_.joinable()) worker_.join();
    return !failed_;
  }
  double EncodingSeconds() const { return encodingSeconds_; }

 private:
  static constexpr int kSlots = 3;

  void Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return queued_ > 0 || closing_; });
      if (queued_ == 0) return;
      Slot& slot = slots_[first_];
      lock.unlock();
      auto mark = std::chrono::steady_clock::now();
      const bool ok =
          video_.WritePicture(slot.rgb.data()) && video_.WriteSound(slot.sound.data(), slot.sound.size() / 2);
      encodingSeconds_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - mark).count();
      lock.lock();
      failed_ = failed_ || !ok;
      first_ = (first_ + 1) % kSlots;
      --queued_;
      changed_.notify_all();
    }
  }

  VideoFile& video_;
  Slot slots_[kSlots];
  std::mutex mutex_;
  std::condition_variable changed_;
  int first_ = 0;   // the oldest slot handed over
  int queued_ = 0;  // slots handed over and not yet encoded
  bool closing_ = false;
  bool failed_ = false;
  double encodingSeconds_ = 0;  // the worker's own
  std::thread worker_;
};

float FrameTime(int64_t frame, int fps) { return static_cast<float>(static_cast<double>(frame) / fps); }

// The frames of a scene as the show plays them: up to and including the first whose time reaches the
// end of the camera's track.
int64_t SceneFrames(ShowScene& scene, int fps) {
  View* view = scene.SceneView();
  const Move* track = view && view->camera ? view->camera->move : nullptr;
  const float duration = track ? track->duration : 0.0f;
  const int64_t longest = static_cast<int64_t>(kLongestSceneSeconds) * fps;
  int64_t frames = 0;
  while (!(duration <= FrameTime(frames, fps)) && frames < longest) ++frames;
  return frames + 1;
}

// The progress line, four times a second and at the end.
void Progress(int64_t done, int64_t total, std::chrono::steady_clock::time_point start) {
  static double shown = -1;
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (seconds - shown < 0.25 && done != total) return;
  shown = seconds;
  const double rate = seconds > 0 ? done / seconds : 0;
  const int left = rate > 0 ? static_cast<int>((total - done) / rate) : 0;
  std::fprintf(stderr, "\rframe %lld/%lld  %.1f fps  %d:%02d left ", static_cast<long long>(done),
               static_cast<long long>(total), rate, left / 60, left % 60);
  std::fflush(stderr);
}

int RunCapture(int argc, char** argv) {
  CaptureArgs args;
  std::string error;
  if (!ParseArgs(argc, argv, args, error)) {
    if (!error.empty()) std::fprintf(stderr, "qz2-tool capture: %s\n", error.c_str());
    std::fprintf(stderr, "usage: qz2-tool capture %s\n", kCaptureUsage);
    return kUsageStatus;
  }
  std::atexit(CleanUp);

  // An extracted data directory is played as it is; a pack is extracted as the program extracts it.
  char dataDirectory[kDataPathSize];
  struct stat info;
  if (stat(args.pack, &info) == 0 && S_ISDIR(info.st_mode)) {
    std::snprintf(dataDirectory, sizeof dataDirectory, "%s", args.pack);
  } else {
    bool named = ChooseDataDir(g_leftovers.dataDirectory, sizeof g_leftovers.dataDirectory);
    if (UnpackPack(args.pack, named ? g_leftovers.dataDirectory : nullptr) == -1) {
      ReportError("Erreur Unpacking", true);
    }
    std::snprintf(dataDirectory, sizeof dataDirectory, "%s", g_leftovers.dataDirectory);
  }

  VideoFile video;
  if (!video.Open(args.out, args.video, error)) {
    std::fprintf(stderr, "qz2-tool capture: %s\n", error.c_str());
    return kUsageStatus;
  }
  // Only a file this capture made is removed when it ends early.
  g_leftovers.partialVideo = args.out;

  GLRenderer* renderer = OpenOffscreenRenderer(args.video.width, args.video.height);

  ShowScene scene;
  ShowOverlays overlays(scene);
  ShowCharacter character(scene);
  CaptureMusic music;
  DataPack pack;
  ShowParts parts{scene, overlays, character, music, pack};
  const int first = args.firstScene - 1;
  const int last = args.lastScene - 1;

  // The frame count of every scene first, for the progress line.
  std::vector<int64_t> sceneFrames;
  int64_t total = 0;
  for (int index = first; index <= last; ++index) {
    char scenePath[kDataPathSize], fontPath[kDataPathSize];
    DataPath(scenePath, dataDirectory, kShowSceneFiles[index].sceneFile);
    DataPath(fontPath, dataDirectory, kFontFile);
    scene.Build(scenePath, fontPath);
    scene.ShowNewestCamera();
    sceneFrames.push_back(SceneFrames(scene, args.video.fps));
    total += sceneFrames.back();
    scene.Destroy();
  }

  struct sigaction stop = {};
  stop.sa_handler = RequestStop;
  sigaction(SIGINT, &stop, nullptr);
  sigaction(SIGTERM, &stop, nullptr);

  const PixelRect whole{0, 0, args.video.width, args.video.height};
  EncodingQueue encoder(video, static_cast<size_t>(whole.width) * whole.height * 3);
  CharacterState characterState;
  int64_t done = 0;
  int64_t soundFrames = 0;
  bool written = true;
  StageTimes stages;
  const auto started = std::chrono::steady_clock::now();
  for (int index = first; index <= last && !g_stopRequested && written; ++index) {
    SetUpScene(parts, dataDirectory, index);
    StartSceneMusic(parts, dataDirectory, index, index == first);
    for (int64_t frame = 0; frame < sceneFrames[index - first] && !g_stopRequested && written; ++frame) {
      FixedClock clock(FrameTime(frame, args.video.fps));
      auto mark = std::chrono::steady_clock::now();
      DrawShowFrame(parts, index, clock, characterState);
      stages.drawing += Since(mark);
      EncodingQueue::Slot& slot = encoder.Next();
      stages.waiting += Since(mark);
      renderer->ReadPixels(whole, slot.rgb.data());
      stages.readingBack += Since(mark);
      CurrentRenderer->Present(0);
      // The sound up to the end of this frame's time on the video's timeline.
      ++done;
      const int64_t soundEnd = done * kVideoSoundRate / args.video.fps;
      slot.sound.resize(static_cast<size_t>(soundEnd - soundFrames) * 2);
      music.Fill(slot.sound.data(), slot.sound.size() / 2);
      soundFrames = soundEnd;
      written = encoder.Submit();
      Progress(done, total, started);
    }
    TearDownScene(parts);
    EndSceneMusic(parts, index);
  }
  music.Stop();
  DestroyRenderer();
  std::fputc('\n', stderr);

  written = encoder.Finish() && written;
  written = video.Finish() && written;
  if (!written) {
    std::fprintf(stderr, "qz2-tool capture: could not write %s\n", args.out);
    return kUsageStatus;
  }
  // A capture the user stopped keeps what was done.
  g_leftovers.partialVideo.clear();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  JsonWriter json;
  json.BeginObject();
  json.Key("frames");
  json.Integer(done);
  json.Key("fps");
  json.Integer(args.video.fps);
  json.Key("width");
  json.Integer(args.video.width);
  json.Key("height");
  json.Integer(args.video.height);
  json.Key("stopped");
  json.Bool(g_stopRequested != 0);
  json.Key("seconds");
  json.Number(seconds);
  json.Key("drawingSeconds");
  json.Number(stages.drawing);
  json.Key("readingBackSeconds");
  json.Number(stages.readingBack);
  json.Key("waitingSeconds");
  json.Number(stages.waiting);
  json.Key("encodingSeconds");
  json.Number(encoder.EncodingSeconds());
  json.Key("out");
  json.String(args.out);
  json.Warnings();
  json.EndObject();
  json.Finish();
  return g_stopRequested ? kStoppedStatus : 0;
}

ToolCommandRegistration g_capture({"capture", kCaptureUsage, RunCapture});

}  // namespace
