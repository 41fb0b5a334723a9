// Writes a scene as a script of elements, each with its track: the default show's scenes and the test packs'.
#include "tools/content/scene_writer.h"

#include <cmath>

namespace {

constexpr uint32_t kFps = 30;
constexpr uint32_t kStep = 5;

}  // namespace

Quaternion Spin(Vec3 axis, float angle) {
  Normalize(axis);
  return AxisAngleToQuaternion(axis, angle);
}

Quaternion Multiply(const Quaternion& a, const Quaternion& b) {
  return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z, a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
          a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x, a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}

CameraPose Orbit(float t, float radius, float height, float speed, Vec3 target, float angle) {
  float a = t * speed;
  return {{radius * std::cos(a), radius * std::sin(a), height}, target, angle};
}

SceneWriter::SceneWriter(float seconds)
    : frames_(static_cast<uint32_t>(seconds * kFps) + 1), keys_(frames_ / kStep + 1) {}

float SceneWriter::KeyTime(uint32_t k) const { return static_cast<float>(k * kStep) / kFps; }

uint32_t SceneWriter::Texture(const char* name, int width, int height, const std::function<Colour(int, int)>& f) {
  std::vector<uint8_t> pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Colour c = f(x, y);
      pixels.insert(pixels.end(), {c.blue, c.green, c.red});
    }
  }
  uint32_t index = textures_++;
  writer_.Texture(TextureRecord(name, index, static_cast<uint16_t>(width), static_cast<uint16_t>(height)), pixels);
  return index;
}

uint32_t SceneWriter::Material(const char* name, const MaterialLook& look, uint32_t texture) {
  uint32_t index = materials_++;
  Qz3Material m = MaterialRecord(name, index, texture);
  m.mode = look.mode;
  m.diffuse = look.diffuse;
  m.ambient = look.ambient;
  m.specular = look.specular;
  m.emissive = look.emissive;
  m.specularLevel = look.specularLevel;
  m.shininess = look.shininess;
  writer_.Material(m);
  return index;
}

uint32_t SceneWriter::Material(const char* name, uint32_t mode, Colour diffuse, uint32_t texture, Colour emissive,
                               float sheen) {
  return Material(name, {mode, diffuse, diffuse, Rgb(255, 255, 255), emissive, sheen, 20.0f}, texture);
}

void SceneWriter::Mesh(const char* name, const MeshData& mesh, uint32_t material,
                       const std::function<Pose(float)>& motion) {
  std::vector<ObjKey> keys;
  for (uint32_t k = 0; k < keys_; ++k) {
    Pose p = motion(KeyTime(k));
    keys.push_back({p.position, 0, p.scale, 0, p.rotation});
  }
  writer_.ObjectTrack(ObjectTrackRecord(name, frames_ - 1, kStep, kFps), keys);
  Pose first = motion(0.0f);
  Qz3MeshObject record = MeshRecord(name, 1);
  record.position = first.position;
  record.scale = first.scale;
  record.rotation = first.rotation;
  writer_.MeshObject(record, {LitPatch(material, mesh.vertices, mesh.indices)});
}

void SceneWriter::MeshColoured(const char* name, const std::vector<PatchVertexColoured>& vertices,
                               const std::vector<uint16_t>& indices, uint32_t material) {
  writer_.ObjectTrack(ObjectTrackRecord(name, frames_ - 1, kStep, kFps),
                      std::vector<ObjKey>(keys_, ObjKey{{0, 0, 0}, 0, {1, 1, 1}, 0, {1, 0, 0, 0}}));
  writer_.MeshObject(MeshRecord(name, 1), {ColouredPatch(material, vertices, indices)});
}

Qz3Light SceneWriter::LightOf(const char* name, uint32_t type, Colour colour, float range) {
  Qz3Light light = LightRecord(name, lights_++, type);
  light.blue = colour.blue;
  light.green = colour.green;
  light.red = colour.red;
  light.range = range;
  return light;
}

void SceneWriter::Omni(const char* name, Colour colour, float range, const std::function<Vec3(float)>& path) {
  std::vector<OmniLightKey> keys;
  for (uint32_t k = 0; k < keys_; ++k) {
    Vec3 p = path(KeyTime(k));
    keys.push_back({colour.blue, colour.green, colour.red, 0, p, 0});
  }
  writer_.LightTrack(LightTrackRecord(name, 1, frames_ - 1, kStep, kFps), keys);
  Qz3Light light = LightOf(name, 1, colour, range);
  light.position = path(0.0f);
  light.direction = {0, 0, -1};
  writer_.Light(light);
}

void SceneWriter::Spot(const char* name, Colour colour, float range, float inner, float outer,
                       const std::function<std::pair<Vec3, Vec3>(float)>& aim) {
  std::vector<SpotLightKey> keys;
  for (uint32_t k = 0; k < keys_; ++k) {
    auto [position, target] = aim(KeyTime(k));
    Vec3 d = {target.x - position.x, target.y - position.y, target.z - position.z};
    keys.push_back({colour.blue, colour.green, colour.red, 0, 0, inner, outer, position, 0, d, 0});
  }
  writer_.LightTrack(LightTrackRecord(name, 2, frames_ - 1, kStep, kFps), keys);
  Qz3Light light = LightOf(name, 2, colour, range);
  light.innerAngle = inner;
  light.outerAngle = outer;
  auto [position, target] = aim(0.0f);
  light.position = position;
  light.direction = {target.x - position.x, target.y - position.y, target.z - position.z};
  writer_.Light(light);
}

void SceneWriter::Directional(const char* name, Colour colour, float range, Vec3 direction) {
  writer_.LightTrack(LightTrackRecord(name, 3, frames_ - 1, kStep, kFps));
  Qz3Light light = LightOf(name, 3, colour, range);
  light.direction = direction;
  writer_.Light(light);
}

void SceneWriter::Ambient(Colour colour, const char* name) { writer_.Light(LightOf(name, 0, colour, 0.0f)); }

void SceneWriter::Camera(const std::function<CameraPose(float)>& path) {
  std::vector<TargCamKey> keys;
  for (uint32_t k = 0; k < keys_; ++k) {
    CameraPose p = path(KeyTime(k));
    keys.push_back({p.position, 0, p.target, 0, p.angle, 0.0f});
  }
  writer_.CameraTrack(CameraTrackRecord("Camera01", 1, frames_ - 1, kStep, kFps), keys);
  CameraPose first = path(0.0f);
  writer_.Camera(CameraRecord("Camera01", 0, first.angle * 0.5f, first.position, first.target));
}

std::vector<uint8_t> SceneWriter::Finish() {
  writer_.End();
  return writer_.Bytes();
}
