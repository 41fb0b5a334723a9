// The skinned character: bone poses per animation frame, a mesh skinned on the processor, drawn as one ready patch.
//
// A file that cannot be read whole, or that is shorter than its header says, loads as empty: no
// bones or frames, no vertices or triangles. The driver still poses, skins and draws such a
// character, which then shows nothing. An influence whose bone the set does not have follows an
// unposed bone (identity rotation, no translation). Nothing here allocates after loading.
#pragma once

#include <cstddef>
#include <cstdint>

#include "overlay/character_format.h"
#include "render/renderer.h"

class Material;

// Larger than any character needs; a larger file is read as missing.
constexpr size_t kCharacterFileMaxBytes = 16u << 20;

// 4 x 4 row-vector matrices (rows 0 to 2 the rotation, row 3 the translation); the fourth
// column is neither set nor read.
struct BoneSet {
  uint32_t count = 0;
  float (*matrices)[16] = nullptr;  // tag "SKlBOnes"

  // count matrices of identity rotation and zero translation.
  void Create(uint32_t boneCount);
  void Release();
};

struct BoneAnimation {
  uint32_t boneCount = 0;
  uint32_t frameCount = 0;
  PoseRecord* poses = nullptr;  // frame by frame, tag "ANIFrames"

  // A wrong magic byte is fatal: "Wrong ANI File".
  void Load(const char* path);
  void Release();
  // Bone i of frame f into matrix i of the set, for the bones both have; a frame past the
  // animation changes nothing.
  void PoseBones(BoneSet& set, uint32_t frame) const;
};

struct SkinMesh {
  uint32_t stored = 0;  // the header's second word, never read
  uint32_t vertexCount = 0;
  SkinVertexRecord* vertices = nullptr;  // tag "MVTX"
  uint32_t triangleCount = 0;
  uint16_t* triangles = nullptr;  // 3 per triangle, each below vertexCount, tag "MFACE"
  // Format 274 (position, normal, one coordinate pair), stride 32, the triangles as its indices;
  // null while there is nothing to draw. Tag "Api Patch", vertices "APi Vert".
  PatchData* patch = nullptr;

  // A wrong magic is fatal: "Wrong Mesh File". A triangle naming a vertex the mesh does not have
  // makes the file unreadable.
  void Load(const char* path);
  void Release();
  // Positions: each used influence's point through its bone, times its weight, summed (not
  // divided by the weights' sum); normals through influence 0's bone rotation alone.
  void SkinVertices(const BoneSet& bones);
  // Scaled by s at (x, y, z) with the material, through the renderer's DrawPatch.
  void Draw(float x, float y, float z, float s, Material* material);
};
