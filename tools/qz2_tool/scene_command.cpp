// qz2-tool scene: loads a scene file as the driver does and prints its elements and the animated state at given times.
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "render/recording_renderer.h"
#include "scene/camera.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "scene/move.h"
#include "scene/scene_file.h"
#include "scene/texture.h"
#include "scene/view.h"
#include "scene/world.h"
#include "tools/qz2_tool/tool.h"

namespace {

// Notes the world matrices drawn, so that a frame can tell which objects passed the culling.
class DrawnRenderer : public RecordingRenderer {
 public:
  std::set<const float*> drawn;
  void SetWorldMatrix(float* matrix) override {
    drawn.insert(matrix);
    RecordingRenderer::SetWorldMatrix(matrix);
  }
};

// World lists run newest first; the output follows the file.
template <class T>
std::vector<T*> InFileOrder(T* head) {
  std::vector<T*> items;
  for (T* e = head; e; e = e->next) items.insert(items.begin(), e);
  return items;
}

const char* RegisteredName(const World& world, ElementId id) {
  const IdElm* entry = world.registry.Find(id);
  return entry ? entry->name : nullptr;
}

const char* NameOf(const World& world, const Material* material) {
  return material ? RegisteredName(world, material->id) : nullptr;
}

const char* NameOf(const World& world, const Texture* texture) {
  return texture ? RegisteredName(world, texture->id) : nullptr;
}

const char* TrackName(const Move* move) { return move ? move->name : nullptr; }

void Vector(JsonWriter& json, const char* key, const Vec3& v) {
  const float values[3] = {v.x, v.y, v.z};
  json.Key(key);
  json.Floats(values, 3);
}

void Matrix(JsonWriter& json, const char* key, const float* m) {
  json.Key(key);
  json.Floats(m, kMatrixSize);
}

void Number(JsonWriter& json, const char* key, double value) {
  json.Key(key);
  json.Number(value);
}

void Text(JsonWriter& json, const char* key, const char* text) {
  json.Key(key);
  json.String(text);
}

void Colour(JsonWriter& json, const char* key, const ::Colour& colour) {
  json.Key(key);
  json.Colour(colour.Word());
}

void Materials(JsonWriter& json, const World& world) {
  json.Key("materials");
  json.BeginArray();
  for (const Material* m : InFileOrder(world.materials)) {
    json.BeginObject();
    Text(json, "name", RegisteredName(world, m->id));
    Integer(json, "mode", m->mode);
    Colour(json, "ambient", m->ambient);
    Colour(json, "diffuse", m->diffuse);
    Colour(json, "specular", m->specular);
    Colour(json, "emissive", m->emissive);
    Number(json, "specularLevel", m->specularLevel);
    Number(json, "shininess", m->shininess);
    Integer(json, "textureCount", m->textureCount);
    json.Key("textures");
    json.BeginArray();
    for (const Texture* t : m->textures) json.String(NameOf(world, t));
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
}

void Textures(JsonWriter& json, const World& world) {
  json.Key("textures");
  json.BeginArray();
  for (const Texture* t : InFileOrder(world.textures)) {
    json.BeginObject();
    Text(json, "name", RegisteredName(world, t->id));
    Integer(json, "source", t->source);
    Integer(json, "width", t->width);
    Integer(json, "height", t->height);
    Integer(json, "pixelBytes", t->pixelBytes);
    json.EndObject();
  }
  json.EndArray();
}

void Cameras(JsonWriter& json, const World& world) {
  json.Key("cameras");
  json.BeginArray();
  for (const Camera* c : InFileOrder(world.cameras)) {
    json.BeginObject();
    Text(json, "name", RegisteredName(world, c->id));
    Integer(json, "mode", c->mode);
    Vector(json, "position", c->position);
    Vector(json, "target", c->target);
    Number(json, "roll", c->roll);
    Number(json, "fovX", c->fovX);
    Number(json, "fovY", c->fovY);
    Number(json, "xScale", c->xScale);
    Number(json, "yScale", c->yScale);
    Text(json, "track", TrackName(c->move));
    json.EndObject();
  }
  json.EndArray();
}

void Lights(JsonWriter& json, const World& world) {
  json.Key("lights");
  json.BeginArray();
  for (const Light* l : InFileOrder(world.lights)) {
    json.BeginObject();
    Text(json, "name", RegisteredName(world, l->id));
    Integer(json, "type", l->type);
    Colour(json, "colour", l->colour);
    Vector(json, "position", l->position);
    Vector(json, "direction", l->direction);
    Number(json, "range", l->range);
    Number(json, "innerAngle", l->innerAngle);
    Number(json, "outerAngle", l->outerAngle);
    Text(json, "track", TrackName(l->move));
    json.EndObject();
  }
  json.EndArray();
}

void Meshes(JsonWriter& json, const World& world) {
  json.Key("meshes");
  json.BeginArray();
  for (const MeshObject* m : InFileOrder(world.meshes)) {
    json.BeginObject();
    Text(json, "name", m->name);
    Vector(json, "position", m->position);
    Vector(json, "scale", m->scale);
    const float rotation[4] = {m->rotation.w, m->rotation.x, m->rotation.y, m->rotation.z};
    json.Key("rotation");
    json.Floats(rotation, 4);
    Vector(json, "boundsMin", m->boundsMin);
    Vector(json, "boundsMax", m->boundsMax);
    Number(json, "radius", m->sphere.radius);
    Text(json, "track", TrackName(m->move));
    json.Key("patches");
    json.BeginArray();
    for (uint32_t i = 0; i < m->patchCount; ++i) {
      const Patch& p = m->patches[i];
      json.BeginObject();
      Integer(json, "kind", p.kind);
      Text(json, "material", NameOf(world, p.material));
      Integer(json, "vertexCount", p.vertexCount);
      Integer(json, "indexCount", p.indexCount);
      json.EndObject();
    }
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
}

void Tracks(JsonWriter& json, const World& world) {
  json.Key("tracks");
  json.BeginArray();
  for (const Move* m : InFileOrder(world.moves)) {
    const IdElm* entry = world.registry.Find(m->id);
    json.BeginObject();
    Text(json, "name", m->name);
    Integer(json, "kind", entry ? entry->kind : 0);
    Integer(json, "subtype", m->subtype);
    Integer(json, "frames", m->frames);
    Integer(json, "step", m->step);
    Number(json, "fps", m->fps);
    Integer(json, "keyCount", m->keyCount);
    Number(json, "duration", m->duration);
    json.EndObject();
  }
  json.EndArray();
}

void Frame(JsonWriter& json, World& world, DrawnRenderer& renderer, float time) {
  const Camera* camera = world.view->camera;
  renderer.drawn.clear();
  bool ended = world.AnimateWorld(time);
  json.BeginObject();
  Number(json, "time", time);
  json.Key("ended");
  json.Bool(ended);
  if (ended) {
    json.Key("key");
    json.Null();
    json.Key("frac");
    json.Null();
  } else {
    TrackTime at = KeyAt(*camera->move, time);
    Integer(json, "key", at.key);
    Number(json, "frac", at.frac);
  }
  json.Key("camera");
  if (camera) {
    json.BeginObject();
    Vector(json, "position", camera->position);
    Vector(json, "target", camera->target);
    Number(json, "roll", camera->roll);
    Number(json, "fovX", camera->fovX);
    Number(json, "fovY", camera->fovY);
    Matrix(json, "viewMatrix", camera->viewMatrix);
    json.EndObject();
  } else {
    json.Null();
  }
  json.Key("lights");
  json.BeginArray();
  for (const Light* l : InFileOrder(world.lights)) {
    json.BeginObject();
    Text(json, "name", RegisteredName(world, l->id));
    Vector(json, "position", l->position);
    Vector(json, "direction", l->direction);
    Colour(json, "colour", l->colour);
    Number(json, "innerAngle", l->innerAngle);
    Number(json, "outerAngle", l->outerAngle);
    json.EndObject();
  }
  json.EndArray();
  json.Key("meshes");
  json.BeginArray();
  for (const MeshObject* m : InFileOrder(world.meshes)) {
    json.BeginObject();
    Text(json, "name", m->name);
    json.Key("visible");
    json.Bool(renderer.drawn.count(m->worldMatrix) != 0);
    Matrix(json, "worldMatrix", m->worldMatrix);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}

bool ParseTimes(int argc, char** argv, std::vector<float>& times) {
  for (int i = 2; i < argc; i += 2) {
    if (std::strcmp(argv[i], "--time") != 0 || i + 1 >= argc) return false;
    char* end;
    times.push_back(std::strtof(argv[i + 1], &end));
    if (end == argv[i + 1] || *end) return false;
  }
  return true;
}

int RunScene(int argc, char** argv) {
  std::vector<float> times;
  if (argc < 2 || !ParseTimes(argc, argv, times)) {
    std::fputs("usage: qz2-tool scene FILE.qz3 [--time T]...\n", stderr);
    return 2;
  }
  DrawnRenderer renderer;
  CurrentRenderer = &renderer;
  World world("World1");
  auto* view = new View("View1", 0, 0, 1.0f, 800.0f, 600.0f, 500.0f, 1, &world);
  LoadScene(argv[1], &world);
  view->SetCamera(world.cameras);
  world.SetView(view);

  JsonWriter json;
  json.BeginObject();
  Materials(json, world);
  Textures(json, world);
  Cameras(json, world);
  Lights(json, world);
  Meshes(json, world);
  Tracks(json, world);
  Text(json, "shownCamera", world.cameras ? RegisteredName(world, world.cameras->id) : nullptr);
  json.Key("frames");
  json.BeginArray();
  for (float t : times) Frame(json, world, renderer, t);
  json.EndArray();
  json.Warnings();
  json.EndObject();
  json.Finish();

  view->Destroy();
  delete view;
  world.Destroy();
  CurrentRenderer = nullptr;
  return 0;
}

ToolCommandRegistration g_scene({"scene", "FILE.qz3 [--time T]...", RunScene});

}  // namespace
