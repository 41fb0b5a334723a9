// qz2-tool overlay: loads an overlay file as the driver does and prints every quad it draws at given times.
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "overlay/overlays.h"
#include "render/recording_renderer.h"
#include "scene/material.h"
#include "scene/texture.h"
#include "scene/view.h"
#include "scene/world.h"
#include "tools/qz2_tool/tool.h"

namespace {

struct Draw2DCall {
  PrimitiveKind kind;
  const Material* material;
  std::vector<ScreenVertex> vertices;
};

// Keeps each Draw2D call, and the bare file name of each image texture while its name is still
// the caller's to give.
class Draw2DRenderer : public RecordingRenderer {
 public:
  std::vector<Draw2DCall> draws;
  std::map<const Texture*, std::string> files;

  void LoadTexture(Texture* texture) override {
    RecordingRenderer::LoadTexture(texture);
    if (texture->source != TextureImageFile || !texture->fileName) return;
    const char* name = texture->fileName;
    for (const char* c = name; *c; ++c) {
      if (*c == '/' || *c == '\\') name = c + 1;
    }
    files[texture] = name;
  }
  int32_t Draw2D(PrimitiveKind kind, ScreenVertex* vertices, uint32_t count, Material* material) override {
    draws.push_back({kind, material, std::vector<ScreenVertex>(vertices, vertices + count)});
    return RecordingRenderer::Draw2D(kind, vertices, count, material);
  }
};

void Vertex(JsonWriter& json, const ScreenVertex& v) {
  json.BeginArray();
  for (float f : {v.x, v.y, v.z, v.rhw}) json.Number(f);
  json.Colour(v.diffuse);
  json.Colour(v.specular);
  json.Number(v.tu1);
  json.Number(v.tv1);
  json.EndArray();
}

void Frame(JsonWriter& json, Draw2DRenderer& renderer, View* view, const OverlaySet* set, float time) {
  renderer.draws.clear();
  renderer.Begin2D(view);
  DrawOverlays(set, time);
  renderer.End2D();
  json.BeginObject();
  json.Key("time");
  json.Number(time);
  json.Key("draws");
  json.BeginArray();
  for (const Draw2DCall& d : renderer.draws) {
    const Texture* texture = d.material && d.material->textureCount ? d.material->textures[0] : nullptr;
    auto file = renderer.files.find(texture);
    json.BeginObject();
    json.Key("kind");
    json.Integer(d.kind);
    json.Key("mode");
    json.Integer(d.material ? d.material->mode : 0);
    json.Key("texture");
    json.String(file != renderer.files.end() ? file->second.c_str() : nullptr);
    json.Key("vertices");
    json.BeginArray();
    for (const ScreenVertex& v : d.vertices) Vertex(json, v);
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}

bool ParseArgs(int argc, char** argv, const char*& dataDirectory, std::vector<float>& times) {
  for (int i = 2; i + 1 < argc; i += 2) {
    const char* value = argv[i + 1];
    if (std::strcmp(argv[i], "--data") == 0) {
      dataDirectory = value;
      continue;
    }
    if (std::strcmp(argv[i], "--time") != 0) return false;
    char* end;
    times.push_back(std::strtof(value, &end));
    if (end == value || *end) return false;
  }
  return argc >= 2 && argc % 2 == 0 && dataDirectory;
}

int RunOverlay(int argc, char** argv) {
  const char* dataDirectory = nullptr;
  std::vector<float> times;
  if (!ParseArgs(argc, argv, dataDirectory, times)) {
    std::fputs("usage: qz2-tool overlay FILE.dat --data DIR [--time T]...\n", stderr);
    return 2;
  }
  Draw2DRenderer renderer;
  CurrentRenderer = &renderer;
  World world("World1");
  auto* view = new View("View1", 0, 0, 1.0f, 800.0f, 600.0f, 500.0f, 1, &world);
  OverlaySet* set = LoadOverlays("2D", argv[1], &world, dataDirectory);

  JsonWriter json;
  json.BeginObject();
  json.Key("frames");
  json.BeginArray();
  for (float t : times) Frame(json, renderer, view, set, t);
  json.EndArray();
  json.Warnings();
  json.EndObject();
  json.Finish();

  ReleaseOverlays(set);
  view->Destroy();
  delete view;
  world.Destroy();
  CurrentRenderer = nullptr;
  return 0;
}

ToolCommandRegistration g_overlay({"overlay", "FILE.dat --data DIR [--time T]...", RunOverlay});

}  // namespace
