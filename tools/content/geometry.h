// Procedural meshes for the default show: boxes, spheres, tori, grids and cylinders as lit triangle lists.
#pragma once

#include <cstdint>
#include <vector>

#include "scene/mesh.h"

constexpr float kPi = 3.14159265358979f;

struct MeshData {
  std::vector<PatchVertexLit> vertices;
  std::vector<uint16_t> indices;
};

// Centred on the origin; half sizes along x, y, z. Each face is mapped to the whole texture.
MeshData MakeBox(float hx, float hy, float hz);
MeshData MakeSphere(float radius, int slices, int stacks);
// Around the z axis: ring radius, tube radius.
MeshData MakeTorus(float ringRadius, float tubeRadius, int ringSegments, int tubeSegments);
// In the xy plane facing +z, cells x cells, texture repeated `repeat` times across.
MeshData MakeGrid(float halfSize, int cells, float repeat);
// Along the z axis from 0 to height, with caps; the side is cut into rings bands, so that it can bend.
MeshData MakeCylinder(float radius, float height, int segments, int rings = 1);
// Eight faces with their own normals.
MeshData MakeOctahedron(float radius);

// Moves every vertex by the offset (the mesh's own space stays where the object puts it).
void Translate(MeshData& mesh, float x, float y, float z);
// Appends b to a (for merging parts into one patch).
void Append(MeshData& a, const MeshData& b);
