// The skinned character: bone poses per animation frame, a mesh skinned on the processor, drawn as one ready patch.
#include "overlay/character.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/allocate.h"
#include "core/byte_reader.h"
#include "core/error.h"
#include "core/file.h"
#include "scene/math.h"
#include "scene/mesh.h"

namespace {

constexpr uint32_t kSkinVertexFormat = 0x002 | 0x010 | 0x100;  // position, normal, one coordinate pair
static_assert(kSkinVertexFormat == 274);
constexpr uint32_t kSkinStride = sizeof(PatchVertexLit);
static_assert(kSkinStride == 32);

// What an unposed bone, or one the set lacks, applies.
constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// A copy of the next count records, or null when the bytes run short or the memory cannot be had.
template <class T>
T* TakeRecords(ByteReader& in, uint64_t count, const char* tag) {
  if (count > in.Remaining() / sizeof(T)) return nullptr;
  size_t bytes = static_cast<size_t>(count) * sizeof(T);
  auto* records = static_cast<T*>(Allocate(bytes, tag));
  if (records) std::memcpy(records, in.Bytes(bytes), bytes);
  return records;
}

Vec3 Transform(const float* m, float x, float y, float z) {
  return {x * m[0] + y * m[4] + z * m[8] + m[12], x * m[1] + y * m[5] + z * m[9] + m[13],
          x * m[2] + y * m[6] + z * m[10] + m[14]};
}

}  // namespace

void BoneSet::Create(uint32_t boneCount) {
  matrices = static_cast<float(*)[16]>(Allocate(sizeof(float[16]) * boneCount, "SKlBOnes"));
  count = matrices ? boneCount : 0;
  for (uint32_t i = 0; i < count; ++i) std::memcpy(matrices[i], kIdentity, sizeof kIdentity);
}

void BoneSet::Release() {
  ::Release(matrices);
  matrices = nullptr;
  count = 0;
}

void BoneAnimation::Load(const char* path) {
  Release();
  std::vector<uint8_t> bytes;
  if (!File_ReadAll(path, kCharacterFileMaxBytes, bytes)) return;
  ByteReader in(bytes.data(), bytes.size());
  AnimationHeader header = {in.U8(), in.U8(), in.U16()};
  if (in.Failed()) return;
  if (header.magic != kAnimationMagic) ReportError("Wrong ANI File", true);
  poses = TakeRecords<PoseRecord>(in, uint64_t{header.boneCount} * header.frameCount, "ANIFrames");
  if (!poses) return;
  boneCount = header.boneCount;
  frameCount = header.frameCount;
}

void BoneAnimation::Release() {
  ::Release(poses);
  poses = nullptr;
  boneCount = frameCount = 0;
}

void BoneAnimation::PoseBones(BoneSet& set, uint32_t frame) const {
  if (frame >= frameCount) return;
  const PoseRecord* pose = poses + size_t{frame} * boneCount;
  for (uint32_t i = 0; i < std::min(boneCount, set.count); ++i, ++pose) {
    Quaternion q = {pose->qw * kPoseRotationScale, pose->qx * kPoseRotationScale, pose->qy * kPoseRotationScale,
                    pose->qz * kPoseRotationScale};
    float* m = set.matrices[i];
    QuaternionToRotation(q, m);
    m[12] = pose->tx * kPoseTranslationScale;
    m[13] = pose->ty * kPoseTranslationScale;
    m[14] = pose->tz * kPoseTranslationScale;
  }
}

void SkinMesh::Load(const char* path) {
  Release();
  std::vector<uint8_t> bytes;
  if (!File_ReadAll(path, kCharacterFileMaxBytes, bytes)) return;
  ByteReader in(bytes.data(), bytes.size());
  MeshHeader header = {in.U32(), in.U32(), in.U32(), in.U32()};
  if (in.Failed()) return;
  if (header.magic != kMeshMagic) ReportError("Wrong Mesh File", true);
  stored = header.stored;
  const uint64_t indexCount = uint64_t{header.triangleCount} * 3;
  vertices = TakeRecords<SkinVertexRecord>(in, header.vertexCount, "MVTX");
  triangles = vertices ? TakeRecords<uint16_t>(in, indexCount, "MFACE") : nullptr;
  bool named = triangles &&
               std::all_of(triangles, triangles + indexCount, [&header](uint16_t i) { return i < header.vertexCount; });
  auto* drawable =
      static_cast<PatchVertexLit*>(named ? Allocate(size_t{header.vertexCount} * kSkinStride, "APi Vert") : nullptr);
  auto* data = static_cast<PatchData*>(drawable ? Allocate(sizeof(PatchData), "Api Patch") : nullptr);
  if (!data) {
    ::Release(drawable);
    Release();
    return;
  }
  vertexCount = header.vertexCount;
  triangleCount = header.triangleCount;
  for (uint32_t i = 0; i < vertexCount; ++i) {
    const SkinVertexRecord& v = vertices[i];
    drawable[i] = {{0, 0, 0}, {v.nx, v.ny, v.nz}, v.u, v.v};
  }
  *data = {kSkinVertexFormat, kSkinStride, vertexCount, static_cast<uint32_t>(indexCount), drawable, triangles};
  patch = data;
}

void SkinMesh::Release() {
  if (patch) ::Release(patch->vertices);
  ::Release(patch);
  ::Release(triangles);
  ::Release(vertices);
  patch = nullptr;
  triangles = nullptr;
  vertices = nullptr;
  vertexCount = triangleCount = 0;
}

void SkinMesh::SkinVertices(const BoneSet& bones) {
  if (!patch) return;
  auto* drawable = static_cast<PatchVertexLit*>(patch->vertices);
  auto boneMatrix = [&bones](uint8_t bone) { return bone < bones.count ? bones.matrices[bone] : kIdentity; };
  for (uint32_t i = 0; i < vertexCount; ++i) {
    const SkinVertexRecord& v = vertices[i];
    int used = std::clamp<int>(v.influenceCount, 1, kMaxInfluences);
    Vec3 sum = {0, 0, 0};
    for (int k = 0; k < used; ++k) {
      const SkinInfluence& influence = v.influences[k];
      Vec3 p = Transform(boneMatrix(influence.bone), influence.x, influence.y, influence.z);
      sum = {sum.x + influence.weight * p.x, sum.y + influence.weight * p.y, sum.z + influence.weight * p.z};
    }
    const float* m = boneMatrix(v.influences[0].bone);
    drawable[i].position = sum;
    drawable[i].normal = {v.nx * m[0] + v.ny * m[4] + v.nz * m[8], v.nx * m[1] + v.ny * m[5] + v.nz * m[9],
                          v.nx * m[2] + v.ny * m[6] + v.nz * m[10]};
  }
}

void SkinMesh::Draw(float x, float y, float z, float s, Material* material) {
  if (!patch) return;
  float world[16] = {s, 0, 0, 0, 0, s, 0, 0, 0, 0, s, 0, x, y, z, 1};
  CurrentRenderer->SetWorldMatrix(world);
  CurrentRenderer->SetMaterial(material);
  Patch drawn = {};
  drawn.kind = PatchLit;
  drawn.material = material;
  drawn.rendererWords[0] = reinterpret_cast<uintptr_t>(patch);
  CurrentRenderer->DrawPatch(&drawn);
}
