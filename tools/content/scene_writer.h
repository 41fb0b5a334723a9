// Writes a scene as a script of elements, each with its track: the default show's scenes and the test packs'.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "scene/colour.h"
#include "scene/math.h"
#include "tools/content/geometry.h"
#include "tools/content/qz3_writer.h"

inline Colour Rgb(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) { return {b, g, r, a}; }

Quaternion Spin(Vec3 axis, float angle);
Quaternion Multiply(const Quaternion& a, const Quaternion& b);

struct Pose {
  Vec3 position;
  Vec3 scale;
  Quaternion rotation;
};

struct CameraPose {
  Vec3 position;
  Vec3 target;
  float angle;
};

inline Colour Checker(int x, int y, int cell, Colour a, Colour b) { return ((x / cell + y / cell) & 1) ? a : b; }

inline Pose Still(Vec3 position, float scale = 1.0f) { return {position, {scale, scale, scale}, {1, 0, 0, 0}}; }

// A camera circling the target at the given radius and height, speed in radians per second.
CameraPose Orbit(float t, float radius, float height, float speed, Vec3 target, float angle = 0.9f);

// What a material shows besides its name and texture.
struct MaterialLook {
  uint32_t mode;
  Colour diffuse;
  Colour ambient;
  Colour specular;
  Colour emissive;
  float specularLevel;
  float shininess;
};

// Textures and materials come first, then for each element its track and the element, since cross references
// resolve only backwards. Every track shares one key rate, so no track runs out before the camera's.
class SceneWriter {
 public:
  explicit SceneWriter(float seconds);

  // A texture of raw pixels from f(x, y) -> colour.
  uint32_t Texture(const char* name, int width, int height, const std::function<Colour(int, int)>& f);
  uint32_t Texture(const char* name, int size, const std::function<Colour(int, int)>& f) {
    return Texture(name, size, size, f);
  }

  uint32_t Material(const char* name, const MaterialLook& look, uint32_t texture = kQz3NoIndex);
  // The default show's materials: ambient as diffuse, a white specular of level sheen. Devices light with power 0,
  // so the specular colour is a flat sheen added wherever a light reaches a face's front, not a highlight: matte by
  // default, a little for polished things.
  uint32_t Material(const char* name, uint32_t mode, Colour diffuse, uint32_t texture = kQz3NoIndex,
                    Colour emissive = Rgb(0, 0, 0), float sheen = 0.0f);

  void Mesh(const char* name, const MeshData& mesh, uint32_t material, const std::function<Pose(float)>& motion);
  // Pre-lit vertices carry their own colours; the object stands still.
  void MeshColoured(const char* name, const std::vector<PatchVertexColoured>& vertices,
                    const std::vector<uint16_t>& indices, uint32_t material);

  // With a range the light falls off linearly: colour bytes near the distance it should light. Without one
  // (range 0) it does not fall off: colour bytes of 1 to 3 light fully.
  void Omni(const char* name, Colour colour, float range, const std::function<Vec3(float)>& path);
  void Spot(const char* name, Colour colour, float range, float inner, float outer,
            const std::function<std::pair<Vec3, Vec3>(float)>& aim);
  // A directional light has no keys: it shines along the direction throughout.
  void Directional(const char* name, Colour colour, float range, Vec3 direction);
  // The ambient level, in the usual 0 to 255 scale.
  void Ambient(Colour colour, const char* name = "Ambient");

  // The scene's clock: written last so that it is the camera the view shows.
  void Camera(const std::function<CameraPose(float)>& path);

  std::vector<uint8_t> Finish();

 private:
  float KeyTime(uint32_t k) const;
  Qz3Light LightOf(const char* name, uint32_t type, Colour colour, float range);

  Qz3Writer writer_;
  uint32_t frames_;
  uint32_t keys_;
  uint32_t textures_ = 0, materials_ = 0, lights_ = 0;
};
