// The on-disk records of the character's animation (.qza) and skinned mesh (.qzb), for the readers and the writer.
//
// Animation: AnimationHeader, then bone count x frame count PoseRecords, frame by frame, bone 0
// first in each frame. Mesh: MeshHeader, vertexCount SkinVertexRecords, then triangleCount
// triangles of three u16 vertex indices, which serve as the index list as they stand. All numbers little-endian.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little, "character files are read field by field into host structs");

constexpr uint8_t kAnimationMagic = 0x65;  // 'e'
constexpr uint32_t kMeshMagic = 103;       // 'g'
constexpr int kMaxInfluences = 3;

// Fixed-point scales of a pose: translation in 1/256 units, quaternion in 1/128 units.
constexpr float kPoseTranslationScale = 0.00390625f;
constexpr float kPoseRotationScale = 0.0078125f;

struct AnimationHeader {
  uint8_t magic;
  uint8_t boneCount;
  uint16_t frameCount;
};
static_assert(sizeof(AnimationHeader) == 4);

struct PoseRecord {
  int16_t tx, ty, tz;     // 1/256 units
  int8_t qx, qy, qz, qw;  // 1/128 units, not normalised
};
static_assert(sizeof(PoseRecord) == 10);

struct MeshHeader {
  uint32_t magic;
  uint32_t stored;  // kept with the mesh, never read
  uint32_t vertexCount;
  uint32_t triangleCount;
};
static_assert(sizeof(MeshHeader) == 16);

struct SkinInfluence {
  float x, y, z;  // the vertex in its bone's space
  float weight;
  uint8_t bone;
  uint8_t unused[3];
};
static_assert(sizeof(SkinInfluence) == 20);

struct SkinVertexRecord {
  SkinInfluence influences[kMaxInfluences];
  float nx, ny, nz;  // in the space of influence 0's bone
  float u, v;
  uint8_t influenceCount;  // 1 to 3 used; 0 counts as 1
  uint8_t unused[3];
};
static_assert(sizeof(SkinVertexRecord) == 84);
static_assert(offsetof(SkinVertexRecord, nx) == 60 && offsetof(SkinVertexRecord, u) == 72 &&
              offsetof(SkinVertexRecord, influenceCount) == 80);
