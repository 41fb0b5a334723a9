// The on-disk records of .qz3 scene files, shared by the reader and the content writer.
//
// All numbers little-endian; names NUL-terminated in fixed fields (a full field has no
// terminator); colours blue, green, red, alpha. Key records are in scene/move.h, vertices in
// scene/mesh.h.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "scene/colour.h"
#include "scene/math.h"

static_assert(std::endian::native == std::endian::little, "scene files are read field by field into host structs");

constexpr uint32_t kQz3Magic = 0x60204226;
constexpr uint32_t kQz3Version = 300;
constexpr uint32_t kQz3NoIndex = 0xFFFFFFFFu;
constexpr uint32_t kQz3PatchLimit = 256;

enum Qz3ChunkId : uint32_t {
  ChunkSkipped = 0x01000000,
  ChunkMaterial = 0x01010000,
  ChunkTexture = 0x01020000,
  ChunkCamera = 0x01030000,
  ChunkLight = 0x01040000,
  ChunkObjectsSkipped = 0x01050000,
  ChunkMeshObject = 0x01050100,
  ChunkObjectTrack = 0x01060000,
  ChunkCameraTrack = 0x01070000,
  ChunkLightTrack = 0x01080000,
  ChunkEnd = 0xFF000000,
};

struct Qz3Header {
  uint32_t magic;
  uint32_t version;
};
static_assert(sizeof(Qz3Header) == 8);

struct SceneChunk {
  uint32_t id;
  uint32_t size;
};
static_assert(sizeof(SceneChunk) == 8);

struct Qz3Material {
  char name[32];
  uint32_t fileIndex;
  uint32_t mode;
  uint32_t fileWord1;
  Colour ambient;
  Colour diffuse;
  Colour specular;
  Colour emissive;
  uint32_t fileWord2;
  float specularLevel;
  float shininess;
  uint32_t textureIndex;
  uint8_t unread[12];
};
static_assert(sizeof(Qz3Material) == 88);
static_assert(offsetof(Qz3Material, fileIndex) == 32 && offsetof(Qz3Material, mode) == 36 &&
              offsetof(Qz3Material, fileWord1) == 40 && offsetof(Qz3Material, ambient) == 44 &&
              offsetof(Qz3Material, diffuse) == 48 && offsetof(Qz3Material, specular) == 52 &&
              offsetof(Qz3Material, emissive) == 56 && offsetof(Qz3Material, fileWord2) == 60 &&
              offsetof(Qz3Material, specularLevel) == 64 && offsetof(Qz3Material, shininess) == 68 &&
              offsetof(Qz3Material, textureIndex) == 72);

// Followed by pixelBytes bytes of pixels.
struct Qz3Texture {
  char name[32];
  uint32_t fileIndex;
  uint32_t source;
  uint16_t width;
  uint16_t height;
  uint32_t fileWord;
  uint32_t pixelBytes;
};
static_assert(sizeof(Qz3Texture) == 52);

struct Qz3Camera {
  char name[32];
  uint32_t fileIndex;
  uint8_t unread0[16];
  float angle;
  Vec3 position;
  uint32_t unread1;
  Vec3 target;
  uint32_t unread2;
};
static_assert(sizeof(Qz3Camera) == 88);
static_assert(offsetof(Qz3Camera, angle) == 52 && offsetof(Qz3Camera, position) == 56 &&
              offsetof(Qz3Camera, target) == 72);

struct Qz3Light {
  char name[32];
  uint32_t fileIndex;
  uint32_t type;
  uint8_t blue, green, red, unread0;
  float range;
  float innerAngle;
  float outerAngle;
  Vec3 position;
  uint32_t unread1;
  Vec3 direction;
  uint32_t unread2;
};
static_assert(sizeof(Qz3Light) == 88);
static_assert(offsetof(Qz3Light, fileIndex) == 32 && offsetof(Qz3Light, type) == 36 && offsetof(Qz3Light, blue) == 40 &&
              offsetof(Qz3Light, green) == 41 && offsetof(Qz3Light, red) == 42 && offsetof(Qz3Light, range) == 44 &&
              offsetof(Qz3Light, innerAngle) == 48 && offsetof(Qz3Light, outerAngle) == 52 &&
              offsetof(Qz3Light, position) == 56 && offsetof(Qz3Light, direction) == 72);

// Followed by patchCount patches.
struct Qz3MeshObject {
  char name[40];
  Vec3 position;
  float positionWord;
  Vec3 scale;
  float scaleWord;
  Quaternion rotation;
  uint32_t patchCount;
};
static_assert(sizeof(Qz3MeshObject) == 92);
static_assert(offsetof(Qz3MeshObject, scale) == 56 && offsetof(Qz3MeshObject, rotation) == 72);

// Followed by vertexCount vertices of the kind's size, then indexCount u16 indices.
struct Qz3Patch {
  uint32_t kind;
  uint32_t materialIndex;
  uint32_t vertexCount;
  uint32_t indexCount;
};
static_assert(sizeof(Qz3Patch) == 16);

// The three track headers; each is followed by frames / step + 1 keys of its kind.
struct Qz3ObjectTrack {
  char name[32];
  uint32_t frames;
  uint32_t step;
  float fps;
  uint32_t subtype;
};
static_assert(sizeof(Qz3ObjectTrack) == 48);

struct Qz3CameraTrack {
  char name[32];
  uint32_t frames;
  uint32_t cameraType;  // 2 free camera, other target camera
  uint32_t step;
  float fps;
};
static_assert(sizeof(Qz3CameraTrack) == 48);

struct Qz3LightTrack {
  char name[32];
  uint32_t frames;
  uint32_t step;
  float fps;
  uint32_t unread;
  uint32_t lightType;  // 1 omni, 2 spot, other no keys
};
static_assert(sizeof(Qz3LightTrack) == 52);
