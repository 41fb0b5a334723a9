// The default show's character: a figure of twelve bones dancing a loop, as its animation and mesh files.
#include "tools/content/show_character.h"

#include <algorithm>
#include <cmath>

#include "scene/math.h"
#include "tools/content/character_writer.h"
#include "tools/content/geometry.h"

namespace {

constexpr int kFrames = 120;
constexpr float kBlendRadius = 1.2f;  // how far from a joint its other bone still pulls
constexpr float kLeastWeight = 0.02f;

enum Bone {
  Pelvis,
  Spine,
  Chest,
  Head,
  LeftUpperArm,
  LeftForearm,
  RightUpperArm,
  RightForearm,
  LeftThigh,
  LeftShin,
  RightThigh,
  RightShin,
  kBones
};

// Each bone turns about its joint; at rest every bone is unturned, so a bone's space is model
// space moved to its joint. The model's origin stands at the stage point the driver draws it at.
struct BoneDef {
  int parent;
  Vec3 joint;
};
constexpr BoneDef kSkeleton[kBones] = {
    {-1, {0, 0, 0}},
    {Pelvis, {0, 0, 0.6f}},
    {Spine, {0, 0, 2.0f}},
    {Chest, {0, 0, 3.6f}},
    {Chest, {1.6f, 0, 3.3f}},
    {LeftUpperArm, {1.7f, 0, 1.4f}},
    {Chest, {-1.6f, 0, 3.3f}},
    {RightUpperArm, {-1.7f, 0, 1.4f}},
    {Pelvis, {0.75f, 0, -0.3f}},
    {LeftThigh, {0.75f, 0, -2.6f}},
    {Pelvis, {-0.75f, 0, -0.3f}},
    {RightThigh, {-0.75f, 0, -2.6f}},
};

Vec3 Minus(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

float Length(Vec3 v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

// The inverse of QuaternionToRotation for a rotation matrix.
Quaternion RotationToQuaternion(const float* m) {
  float trace = m[0] + m[5] + m[10];
  if (trace > 0) {
    float s = std::sqrt(trace + 1.0f) * 2;
    return {s / 4, (m[6] - m[9]) / s, (m[8] - m[2]) / s, (m[1] - m[4]) / s};
  }
  if (m[0] > m[5] && m[0] > m[10]) {
    float s = std::sqrt(1.0f + m[0] - m[5] - m[10]) * 2;
    return {(m[6] - m[9]) / s, s / 4, (m[4] + m[1]) / s, (m[8] + m[2]) / s};
  }
  if (m[5] > m[10]) {
    float s = std::sqrt(1.0f + m[5] - m[0] - m[10]) * 2;
    return {(m[8] - m[2]) / s, (m[4] + m[1]) / s, s / 4, (m[9] + m[6]) / s};
  }
  float s = std::sqrt(1.0f + m[10] - m[0] - m[5]) * 2;
  return {(m[1] - m[4]) / s, (m[8] + m[2]) / s, (m[9] + m[6]) / s, s / 4};
}

// Turns about x, y and z of each bone, and the pelvis's offset, at phase 0 to 1 of the loop.
struct Dance {
  Vec3 turn[kBones] = {};
  Vec3 hips = {0, 0, 0};
};

Dance DanceAt(float phase) {
  float a = 2 * kPi * phase;
  float dip = 0.5f * (1 - std::cos(4 * a));  // down on every beat
  float sway = std::sin(2 * a);              // one side, then the other, every two beats
  float leftLift = 0.5f * (1 + sway), rightLift = 0.5f * (1 - sway);
  Dance d;
  d.hips = {0.35f * sway, 0, -0.35f * dip};
  d.turn[Pelvis] = {0, 0, 0.25f * sway};
  d.turn[Spine] = {0, -0.12f * sway, 0};
  d.turn[Chest] = {0, 0, -0.35f * sway};
  d.turn[Head] = {0.18f * std::sin(4 * a), 0, 0.2f * sway};
  // A hanging arm swings forward (-y) and up as it turns about x by a negative angle.
  d.turn[LeftUpperArm] = {-(0.3f + 1.9f * leftLift), -0.25f, 0};
  d.turn[LeftForearm] = {-(0.5f + 1.0f * leftLift), 0, 0};
  d.turn[RightUpperArm] = {-(0.3f + 1.9f * rightLift), 0.25f, 0};
  d.turn[RightForearm] = {-(0.5f + 1.0f * rightLift), 0, 0};
  float leftKick = std::max(0.0f, sway), rightKick = std::max(0.0f, -sway);
  d.turn[LeftThigh] = {-(0.25f * dip + 0.5f * leftKick), 0, 0};
  d.turn[LeftShin] = {0.5f * dip + 0.9f * leftKick, 0, 0};
  d.turn[RightThigh] = {-(0.25f * dip + 0.5f * rightKick), 0, 0};
  d.turn[RightShin] = {0.5f * dip + 0.9f * rightKick, 0, 0};
  return d;
}

// The global pose of every bone: its own turn, then its parent's (parents come first in kSkeleton).
void PoseFrame(const Dance& d, std::vector<PoseRecord>& poses) {
  float rotation[kBones][16];
  Vec3 origin[kBones];
  for (int b = 0; b < kBones; ++b) {
    const BoneDef& bone = kSkeleton[b];
    EulerToMatrix(d.turn[b].x, d.turn[b].y, d.turn[b].z, rotation[b]);
    if (bone.parent < 0) {
      origin[b] = {bone.joint.x + d.hips.x, bone.joint.y + d.hips.y, bone.joint.z + d.hips.z};
    } else {
      const float* parent = rotation[bone.parent];
      Vec3 offset = Minus(bone.joint, kSkeleton[bone.parent].joint);
      Vec3 p = origin[bone.parent];
      origin[b] = {p.x + offset.x * parent[0] + offset.y * parent[4] + offset.z * parent[8],
                   p.y + offset.x * parent[1] + offset.y * parent[5] + offset.z * parent[9],
                   p.z + offset.x * parent[2] + offset.y * parent[6] + offset.z * parent[10]};
      MultiplyRotation(rotation[b], parent, rotation[b]);
    }
    poses.push_back(PoseFromRotation(RotationToQuaternion(rotation[b]), origin[b]));
  }
}

struct Part {
  Bone bone;
  MeshData mesh;
};

MeshData Placed(MeshData mesh, float x, float y, float z) {
  Translate(mesh, x, y, z);
  return mesh;
}

std::vector<Part> Body() {
  std::vector<Part> parts = {
      {Pelvis, Placed(MakeBox(1.1f, 0.55f, 0.5f), 0, 0, -0.05f)},
      {Spine, Placed(MakeCylinder(0.75f, 1.6f, 12, 4), 0, 0, 0.4f)},
      {Chest, Placed(MakeBox(1.25f, 0.65f, 0.85f), 0, 0, 2.75f)},
      {Head, Placed(MakeCylinder(0.32f, 0.6f, 10, 2), 0, 0, 3.5f)},
      {Head, Placed(MakeSphere(0.85f, 16, 10), 0, 0, 4.5f)},
  };
  for (float side : {1.0f, -1.0f}) {
    bool left = side > 0;
    parts.push_back(
        {left ? LeftUpperArm : RightUpperArm, Placed(MakeCylinder(0.33f, 1.9f, 10, 4), 1.7f * side, 0, 1.4f)});
    parts.push_back(
        {left ? LeftForearm : RightForearm, Placed(MakeCylinder(0.28f, 1.8f, 10, 4), 1.7f * side, 0, -0.4f)});
    parts.push_back({left ? LeftForearm : RightForearm, Placed(MakeSphere(0.38f, 10, 6), 1.7f * side, 0, -0.65f)});
    parts.push_back({left ? LeftThigh : RightThigh, Placed(MakeCylinder(0.45f, 2.3f, 12, 4), 0.75f * side, 0, -2.6f)});
    parts.push_back({left ? LeftShin : RightShin, Placed(MakeCylinder(0.36f, 2.0f, 12, 4), 0.75f * side, 0, -4.6f)});
    parts.push_back({left ? LeftShin : RightShin, Placed(MakeBox(0.35f, 0.6f, 0.18f), 0.75f * side, -0.25f, -4.8f)});
  }
  return parts;
}

// The part's own bone, and the bones across its joints as far as kBlendRadius reaches, strongest
// first, at most three, their weights summing to 1.
SkinVertexRecord Skin(Bone bone, const PatchVertexLit& v) {
  struct Pull {
    int bone;
    float weight;
  };
  std::vector<Pull> pulls = {{bone, 1.0f}};
  auto across = [&](int other, Vec3 joint) {
    float w = 0.5f * (1.0f - Length(Minus(v.position, joint)) / kBlendRadius);
    if (w >= kLeastWeight) pulls.push_back({other, w});
  };
  if (kSkeleton[bone].parent >= 0) across(kSkeleton[bone].parent, kSkeleton[bone].joint);
  for (int child = 0; child < kBones; ++child) {
    if (kSkeleton[child].parent == bone) across(child, kSkeleton[child].joint);
  }
  std::stable_sort(pulls.begin(), pulls.end(), [](const Pull& a, const Pull& b) { return a.weight > b.weight; });
  pulls.resize(std::min<size_t>(pulls.size(), kMaxInfluences));
  float sum = 0;
  for (const Pull& p : pulls) sum += p.weight;

  SkinVertexRecord r = RigidVertex(static_cast<uint8_t>(bone), {}, v.normal, v.u, v.v);
  r.influenceCount = static_cast<uint8_t>(pulls.size());
  for (size_t k = 0; k < pulls.size(); ++k) {
    Vec3 p = Minus(v.position, kSkeleton[pulls[k].bone].joint);
    r.influences[k] = {p.x, p.y, p.z, pulls[k].weight / sum, static_cast<uint8_t>(pulls[k].bone), {}};
  }
  return r;
}

}  // namespace

std::vector<uint8_t> BuildShowAnimation() {
  std::vector<PoseRecord> poses;
  for (int f = 0; f < kFrames; ++f) PoseFrame(DanceAt(static_cast<float>(f) / kFrames), poses);
  return AnimationFileBytes(kBones, kFrames, poses);
}

std::vector<uint8_t> BuildShowMesh() {
  std::vector<SkinVertexRecord> vertices;
  std::vector<uint16_t> indices;
  for (const Part& part : Body()) {
    uint16_t base = static_cast<uint16_t>(vertices.size());
    for (const PatchVertexLit& v : part.mesh.vertices) vertices.push_back(Skin(part.bone, v));
    for (uint16_t i : part.mesh.indices) indices.push_back(static_cast<uint16_t>(base + i));
  }
  return MeshFileBytes(static_cast<uint32_t>(vertices.size()), static_cast<uint32_t>(indices.size() / 3), vertices,
                       indices);
}
