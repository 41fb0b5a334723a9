// The character's animation (.qza) and skinned mesh (.qzb) files for the content builder and the tests.
//
// Counts are written as given, so a fixture can describe a file that lies about what follows.
#pragma once

#include <cstdint>
#include <vector>

#include "overlay/character_format.h"
#include "scene/math.h"

// A pose in the file's fixed point: the quaternion in 1/128 units, the translation in 1/256
// units, each rounded to the nearest step and kept within its field.
PoseRecord PoseFromRotation(const Quaternion& q, const Vec3& translation);
// The header, then the poses frame by frame.
std::vector<uint8_t> AnimationFileBytes(uint8_t boneCount, uint16_t frameCount, const std::vector<PoseRecord>& poses);

// One influence of weight 1 on bone at point p of that bone's space.
SkinVertexRecord RigidVertex(uint8_t bone, const Vec3& p, const Vec3& normal, float u, float v);
// The header, the vertices, then the triangles' indices, three per triangle.
std::vector<uint8_t> MeshFileBytes(uint32_t vertexCount, uint32_t triangleCount,
                                   const std::vector<SkinVertexRecord>& vertices, const std::vector<uint16_t>& indices);
