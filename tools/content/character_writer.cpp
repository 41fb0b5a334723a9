// The character's animation (.qza) and skinned mesh (.qzb) files for the content builder and the tests.
#include "tools/content/character_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

template <class T>
T Fixed(float value, float step) {
  float steps = std::round(value / step);
  return static_cast<T>(std::clamp<float>(steps, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

template <class T>
void Append(std::vector<uint8_t>& out, const T* records, size_t count) {
  size_t at = out.size(), bytes = count * sizeof(T);
  out.resize(at + bytes);
  if (bytes) std::memcpy(out.data() + at, records, bytes);
}

}  // namespace

PoseRecord PoseFromRotation(const Quaternion& q, const Vec3& translation) {
  return {Fixed<int16_t>(translation.x, kPoseTranslationScale),
          Fixed<int16_t>(translation.y, kPoseTranslationScale),
          Fixed<int16_t>(translation.z, kPoseTranslationScale),
          Fixed<int8_t>(q.x, kPoseRotationScale),
          Fixed<int8_t>(q.y, kPoseRotationScale),
          Fixed<int8_t>(q.z, kPoseRotationScale),
          Fixed<int8_t>(q.w, kPoseRotationScale)};
}

std::vector<uint8_t> AnimationFileBytes(uint8_t boneCount, uint16_t frameCount, const std::vector<PoseRecord>& poses) {
  AnimationHeader header = {kAnimationMagic, boneCount, frameCount};
  std::vector<uint8_t> out;
  Append(out, &header, 1);
  Append(out, poses.data(), poses.size());
  return out;
}

SkinVertexRecord RigidVertex(uint8_t bone, const Vec3& p, const Vec3& normal, float u, float v) {
  SkinVertexRecord r = {};
  r.influences[0] = {p.x, p.y, p.z, 1.0f, bone, {}};
  r.nx = normal.x;
  r.ny = normal.y;
  r.nz = normal.z;
  r.u = u;
  r.v = v;
  r.influenceCount = 1;
  return r;
}

std::vector<uint8_t> MeshFileBytes(uint32_t vertexCount, uint32_t triangleCount,
                                   const std::vector<SkinVertexRecord>& vertices,
                                   const std::vector<uint16_t>& indices) {
  MeshHeader header = {kMeshMagic, 0, vertexCount, triangleCount};
  std::vector<uint8_t> out;
  Append(out, &header, 1);
  Append(out, vertices.data(), vertices.size());
  Append(out, indices.data(), indices.size());
  return out;
}
