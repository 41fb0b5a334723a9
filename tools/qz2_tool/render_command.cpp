// qz2-tool render: frames of scenes, each set up as the driver sets it up, drawn by the platform's back end into a
// PNG of its own.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/error.h"
#include "driver/options.h"
#include "driver/pack.h"
#include "driver/show.h"
#include "driver/show_parts.h"
#include "render/renderer.h"
#include "tools/qz2_tool/png_file.h"
#include "tools/qz2_tool/tool.h"

namespace {

struct FrameRequest {
  int scene = 0;  // 1 to 9
  float time = 0;
  bool timed = false;
  const char* out = nullptr;
  bool Complete() const { return scene != 0 && timed && out; }
};

struct RenderArgs {
  const char* dataDirectory = nullptr;
  std::vector<FrameRequest> frames;
  int32_t renderer = 0;  // the platform's own
};

// Frames follow one another: once one has its scene, time and picture file, in any order, the next one begins.
bool ParseArgs(int argc, char** argv, RenderArgs& args) {
  if (argc < 2 || argc % 2 != 0) return false;
  args.dataDirectory = argv[1];
  FrameRequest frame;
  for (int i = 2; i < argc; i += 2) {
    const char* option = argv[i];
    const char* value = argv[i + 1];
    char* end = nullptr;
    if (std::strcmp(option, "--renderer") == 0) {
      if ((args.renderer = RendererByName(value)) == 0) return false;
      continue;
    }
    if (std::strcmp(option, "--out") == 0) {
      if (frame.out) return false;
      frame.out = value;
    } else if (std::strcmp(option, "--scene") == 0) {
      if (frame.scene != 0) return false;
      const long scene = std::strtol(value, &end, 10);
      if (end == value || *end || scene < 1 || scene > kSceneCount) return false;
      frame.scene = static_cast<int>(scene);
    } else if (std::strcmp(option, "--time") == 0) {
      if (frame.timed) return false;
      frame.time = std::strtof(value, &end);
      if (end == value || *end) return false;
      frame.timed = true;
    } else {
      return false;
    }
    if (frame.Complete()) {
      args.frames.push_back(frame);
      frame = FrameRequest();
    }
  }
  return !args.frames.empty() && frame.scene == 0 && !frame.timed && !frame.out;
}

// A captured frame plays no music.
class NoMusic : public MusicParts {
 public:
  void Open(const char*) override {}
  void Start() override {}
  void Stop() override {}
};

constexpr const char* kRenderUsage =
    "DATA_DIR --scene N --time T --out FILE.png [--scene N --time T --out FILE.png ...] [--renderer R]";

// One line of JSON for the frame drawn.
void Report(const FrameRequest& frame, bool ended) {
  JsonWriter json;
  json.BeginObject();
  Integer(json, "scene", frame.scene);
  json.Key("time");
  json.Number(frame.time);
  json.Key("ended");
  json.Bool(ended);
  Integer(json, "width", kPictureWidth);
  Integer(json, "height", kPictureHeight);
  json.Key("out");
  json.String(frame.out);
  json.Warnings();
  json.EndObject();
  json.Finish();
}

int RunRender(int argc, char** argv) {
  RenderArgs args;
  if (!ParseArgs(argc, argv, args)) {
    std::fprintf(stderr, "usage: qz2-tool render %s\n", kRenderUsage);
    return 2;
  }
  // Frames after the first share the renderer and its start-up, as the show's scenes do.
  Renderer* renderer = OpenPictureRenderer(args.renderer);
  ShowScene scene;
  ShowOverlays overlays(scene);
  ShowCharacter character(scene);
  NoMusic music;
  DataPack pack;
  ShowParts parts{scene, overlays, character, music, pack};
  std::vector<uint8_t> rgb;
  for (const FrameRequest& frame : args.frames) {
    const int index = frame.scene - 1;
    SetUpScene(parts, args.dataDirectory, index, false);
    const bool ended = DrawFrameAt(parts, index, frame.time);
    const bool read = ReadPicture(*renderer, rgb);
    CurrentRenderer->Present(0);
    const bool written = read && WritePng(frame.out, rgb, kPictureWidth, kPictureHeight);
    TearDownScene(parts);
    if (!read) ReportErrorDetail("Could not read the picture back", frame.out, true);
    if (!written) ReportErrorDetail("Could not write the picture", frame.out, true);
    Report(frame, ended);
  }
  DestroyRenderer();
  return 0;
}

ToolCommandRegistration g_render({"render", kRenderUsage, RunRender});

}  // namespace
