// qz2-tool render: one frame of a scene, set up as the driver sets it up, drawn by the platform's back end into a
// PNG.
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

struct RenderArgs {
  const char* dataDirectory = nullptr;
  int scene = 0;  // 1 to 9
  float time = 0;
  bool timed = false;
  const char* out = nullptr;
  int32_t renderer = 0;  // the platform's own
};

bool ParseArgs(int argc, char** argv, RenderArgs& args) {
  if (argc < 2 || argc % 2 != 0) return false;
  args.dataDirectory = argv[1];
  for (int i = 2; i < argc; i += 2) {
    const char* option = argv[i];
    const char* value = argv[i + 1];
    char* end = nullptr;
    if (std::strcmp(option, "--out") == 0) {
      args.out = value;
      continue;
    }
    if (std::strcmp(option, "--renderer") == 0) {
      if ((args.renderer = RendererByName(value)) == 0) return false;
      continue;
    }
    if (std::strcmp(option, "--scene") == 0) {
      args.scene = static_cast<int>(std::strtol(value, &end, 10));
    } else if (std::strcmp(option, "--time") == 0) {
      args.time = std::strtof(value, &end);
      args.timed = true;
    } else {
      return false;
    }
    if (end == value || *end) return false;
  }
  return args.scene >= 1 && args.scene <= kSceneCount && args.timed && args.out;
}

// A captured frame plays no music.
class NoMusic : public MusicParts {
 public:
  void Open(const char*) override {}
  void Start() override {}
  void Stop() override {}
};

int RunRender(int argc, char** argv) {
  RenderArgs args;
  if (!ParseArgs(argc, argv, args)) {
    std::fputs("usage: qz2-tool render DATA_DIR --scene N --time T --out FILE.png [--renderer R]\n", stderr);
    return 2;
  }
  Renderer* renderer = OpenPictureRenderer(args.renderer);

  ShowScene scene;
  ShowOverlays overlays(scene);
  ShowCharacter character(scene);
  NoMusic music;
  DataPack pack;
  ShowParts parts{scene, overlays, character, music, pack};
  const int index = args.scene - 1;
  SetUpScene(parts, args.dataDirectory, index);

  const bool ended = DrawFrameAt(parts, index, args.time);
  std::vector<uint8_t> rgb;
  const bool read = ReadPicture(*renderer, rgb);
  CurrentRenderer->Present(0);
  const bool written = read && WritePng(args.out, rgb, kPictureWidth, kPictureHeight);

  TearDownScene(parts);
  DestroyRenderer();
  if (!read) ReportErrorDetail("Could not read the picture back", args.out, true);
  if (!written) ReportErrorDetail("Could not write the picture", args.out, true);

  JsonWriter json;
  json.BeginObject();
  json.Key("scene");
  json.Integer(args.scene);
  json.Key("time");
  json.Number(args.time);
  json.Key("ended");
  json.Bool(ended);
  json.Key("width");
  json.Integer(kPictureWidth);
  json.Key("height");
  json.Integer(kPictureHeight);
  json.Key("out");
  json.String(args.out);
  json.Warnings();
  json.EndObject();
  json.Finish();
  return 0;
}

ToolCommandRegistration g_render({"render", "DATA_DIR --scene N --time T --out FILE.png [--renderer R]", RunRender});

}  // namespace
