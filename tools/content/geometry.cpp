// Procedural meshes for the default show: boxes, spheres, tori, grids and cylinders as lit triangle lists.
#include "tools/content/geometry.h"

#include <cmath>

namespace {

// Triangles are counter-clockwise seen from their front: the view's mirrored axes make that the
// clockwise winding on screen which the renderers keep.
void AddTriangle(MeshData& m, uint16_t a, uint16_t b, uint16_t c) {
  m.indices.push_back(a);
  m.indices.push_back(b);
  m.indices.push_back(c);
}

uint16_t AddVertex(MeshData& m, Vec3 p, Vec3 n, float u, float v) {
  m.vertices.push_back({p, n, u, v});
  return static_cast<uint16_t>(m.vertices.size() - 1);
}

// A rows x columns lattice of vertices made by f(i, j), joined into quads (counter-clockwise seen
// from where the normals point).
template <class F>
void AddLattice(MeshData& m, int rows, int columns, F f) {
  uint16_t base = static_cast<uint16_t>(m.vertices.size());
  for (int i = 0; i <= rows; ++i) {
    for (int j = 0; j <= columns; ++j) f(i, j);
  }
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < columns; ++j) {
      uint16_t a = static_cast<uint16_t>(base + i * (columns + 1) + j);
      uint16_t b = static_cast<uint16_t>(a + 1);
      uint16_t c = static_cast<uint16_t>(a + columns + 1);
      uint16_t d = static_cast<uint16_t>(c + 1);
      AddTriangle(m, a, b, d);
      AddTriangle(m, a, d, c);
    }
  }
}

}  // namespace

MeshData MakeBox(float hx, float hy, float hz) {
  MeshData m;
  struct Face {
    Vec3 normal, uAxis, vAxis;
  };
  const Face faces[6] = {
      {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},  {{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}, {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}},
      {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}, {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},   {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
  };
  const Vec3 h = {hx, hy, hz};
  for (const Face& f : faces) {
    AddLattice(m, 1, 1, [&](int i, int j) {
      float su = j ? 1.0f : -1.0f, sv = i ? 1.0f : -1.0f;
      Vec3 p = {(f.normal.x + su * f.uAxis.x + sv * f.vAxis.x) * h.x,
                (f.normal.y + su * f.uAxis.y + sv * f.vAxis.y) * h.y,
                (f.normal.z + su * f.uAxis.z + sv * f.vAxis.z) * h.z};
      AddVertex(m, p, f.normal, static_cast<float>(j), static_cast<float>(1 - i));
    });
  }
  return m;
}

MeshData MakeSphere(float radius, int slices, int stacks) {
  MeshData m;
  AddLattice(m, stacks, slices, [&](int i, int j) {
    float theta = kPi * static_cast<float>(i) / stacks - kPi / 2;
    float phi = 2 * kPi * static_cast<float>(j) / slices;
    Vec3 n = {std::cos(theta) * std::cos(phi), std::cos(theta) * std::sin(phi), std::sin(theta)};
    AddVertex(m, {n.x * radius, n.y * radius, n.z * radius}, n, static_cast<float>(j) / slices,
              1.0f - static_cast<float>(i) / stacks);
  });
  return m;
}

MeshData MakeTorus(float ringRadius, float tubeRadius, int ringSegments, int tubeSegments) {
  MeshData m;
  AddLattice(m, tubeSegments, ringSegments, [&](int i, int j) {
    float a = 2 * kPi * static_cast<float>(j) / ringSegments;
    float b = 2 * kPi * static_cast<float>(i) / tubeSegments;
    Vec3 n = {std::cos(b) * std::cos(a), std::cos(b) * std::sin(a), std::sin(b)};
    Vec3 p = {(ringRadius + tubeRadius * std::cos(b)) * std::cos(a),
              (ringRadius + tubeRadius * std::cos(b)) * std::sin(a), tubeRadius * std::sin(b)};
    AddVertex(m, p, n, 4.0f * static_cast<float>(j) / ringSegments, static_cast<float>(i) / tubeSegments);
  });
  return m;
}

MeshData MakeGrid(float halfSize, int cells, float repeat) {
  MeshData m;
  AddLattice(m, cells, cells, [&](int i, int j) {
    float x = -halfSize + 2 * halfSize * static_cast<float>(j) / cells;
    float y = -halfSize + 2 * halfSize * static_cast<float>(i) / cells;
    AddVertex(m, {x, y, 0}, {0, 0, 1}, repeat * static_cast<float>(j) / cells, repeat * static_cast<float>(i) / cells);
  });
  return m;
}

MeshData MakeCylinder(float radius, float height, int segments, int rings) {
  MeshData m;
  AddLattice(m, rings, segments, [&](int i, int j) {
    float a = 2 * kPi * static_cast<float>(j) / segments;
    Vec3 n = {std::cos(a), std::sin(a), 0};
    float along = static_cast<float>(i) / rings;
    AddVertex(m, {n.x * radius, n.y * radius, height * along}, n, static_cast<float>(j) / segments, along);
  });
  for (int cap = 0; cap < 2; ++cap) {
    float z = cap ? height : 0.0f;
    Vec3 n = {0, 0, cap ? 1.0f : -1.0f};
    uint16_t centre = AddVertex(m, {0, 0, z}, n, 0.5f, 0.5f);
    for (int j = 0; j <= segments; ++j) {
      float a = 2 * kPi * static_cast<float>(j) / segments;
      AddVertex(m, {std::cos(a) * radius, std::sin(a) * radius, z}, n, 0.5f + 0.5f * std::cos(a),
                0.5f + 0.5f * std::sin(a));
    }
    for (int j = 0; j < segments; ++j) {
      uint16_t a = static_cast<uint16_t>(centre + 1 + j);
      if (cap) {
        AddTriangle(m, centre, a, static_cast<uint16_t>(a + 1));
      } else {
        AddTriangle(m, centre, static_cast<uint16_t>(a + 1), a);
      }
    }
  }
  return m;
}

MeshData MakeOctahedron(float radius) {
  MeshData m;
  const Vec3 tips[6] = {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
  for (int k = 0; k < 4; ++k) {
    for (int up = 0; up < 2; ++up) {
      Vec3 a = tips[k], b = tips[(k + 1) % 4], c = tips[up ? 4 : 5];
      if (!up) std::swap(a, b);
      Vec3 n = {a.x + b.x + c.x, a.y + b.y + c.y, a.z + b.z + c.z};
      Normalize(n);
      uint16_t ia = AddVertex(m, {a.x * radius, a.y * radius, a.z * radius}, n, 0, 1);
      uint16_t ib = AddVertex(m, {b.x * radius, b.y * radius, b.z * radius}, n, 1, 1);
      uint16_t ic = AddVertex(m, {c.x * radius, c.y * radius, c.z * radius}, n, 0.5f, 0);
      AddTriangle(m, ia, ib, ic);
    }
  }
  return m;
}

void Translate(MeshData& mesh, float x, float y, float z) {
  for (PatchVertexLit& v : mesh.vertices) {
    v.position.x += x;
    v.position.y += y;
    v.position.z += z;
  }
}

void Append(MeshData& a, const MeshData& b) {
  uint16_t base = static_cast<uint16_t>(a.vertices.size());
  a.vertices.insert(a.vertices.end(), b.vertices.begin(), b.vertices.end());
  for (uint16_t i : b.indices) a.indices.push_back(static_cast<uint16_t>(base + i));
}
