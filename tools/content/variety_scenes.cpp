// The variety pack's nine scenes: every blend mode with extreme specular values, every light kind, odd textures.
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>

#include "tools/content/scene_writer.h"
#include "tools/content/variety_pack.h"

namespace {

// A gradient with a white block at its first corner and a dark band across its last rows, so that a texture
// turned, mirrored or stretched shows it.
Colour Marked(int x, int y, int width, int height) {
  if (x < (width + 3) / 4 && y < (height + 3) / 4) return Rgb(250, 250, 250);
  if (y >= height - (height + 7) / 8) return Rgb(40, 20, 60);
  return Rgb(static_cast<uint8_t>(60 + 190 * x / width), static_cast<uint8_t>(60 + 190 * y / height), 110);
}

// Raw textures of the sizes a hand-made scene has: odd, long and thin, a single pixel.
struct RawSize {
  const char* name;
  int width, height;
};
constexpr RawSize kRawSizes[] = {{"Px1", 1, 1},          {"Px3x5", 3, 5},        {"Tex37x53", 37, 53},
                                 {"Tex100x60", 100, 60}, {"Tex300x17", 300, 17}, {"Tex129x65", 129, 65},
                                 {"Tex7x200", 7, 200},   {"Tex256", 256, 256}};

uint32_t MarkedTexture(SceneWriter& s, const RawSize& size) {
  const int w = size.width, h = size.height;
  return s.Texture(size.name, w, h, [w, h](int x, int y) { return Marked(x, y, w, h); });
}

// The floor the grids stand on: a checker of odd cells on an odd texture, matte.
uint32_t FloorMaterial(SceneWriter& s, Colour light, Colour dark) {
  uint32_t texture =
      s.Texture("Checker", 100, 60, [light, dark](int x, int y) { return Checker(x, y, 7, light, dark); });
  return s.Material("FloorMat", {0, Rgb(200, 200, 200), Rgb(60, 60, 60), Rgb(0, 0, 0), Rgb(0, 0, 0), 0, 0}, texture);
}

void Floor(SceneWriter& s, uint32_t material, float z = 0) {
  s.Mesh("Floor", MakeGrid(60, 12, 5), material, [z](float) { return Still({0, 0, z}); });
}

// Nine turning spheres in one blend mode, facing -y: the rows have specular levels 1000, 1 and 0 from the top,
// the columns shininess 0, 1 and 50 from the left. A level of 1000 saturates only the blue of the highlight.
void SpecularGrid(SceneWriter& s, uint32_t mode, uint32_t texture, Colour diffuse, Colour emissive = Rgb(0, 0, 0),
                  Vec3 centre = {0, 0, 16}) {
  constexpr float kLevels[] = {1000, 1, 0};
  constexpr float kShininess[] = {0, 1, 50};
  const Colour ambient = Rgb(diffuse.red / 4, diffuse.green / 4, diffuse.blue / 4, diffuse.alpha);
  for (int row = 0; row < 3; ++row) {
    const Colour specular = kLevels[row] > 1 ? Rgb(0, 0, 1) : Rgb(70, 70, 70);
    for (int column = 0; column < 3; ++column) {
      char name[32];
      std::snprintf(name, sizeof name, "M%uR%dC%d", mode, row, column);
      uint32_t material = s.Material(
          name, {mode, diffuse, ambient, specular, emissive, kLevels[row], kShininess[column]}, texture);
      Vec3 at = {centre.x + 11.0f * (column - 1), centre.y, centre.z + 11.0f * (1 - row)};
      s.Mesh(name, MakeSphere(4.5f, 20, 12), material, [at, row, column](float t) {
        Pose p = Still(at);
        p.rotation = Multiply(Spin({0, 0, 1}, t * 0.5f + column), Spin({1, 0, 0}, 0.4f * row));
        return p;
      });
    }
  }
}

// Looking at the grid from the front, drifting sideways.
CameraPose FacingGrid(float t) { return {{12 * std::sin(t * 0.25f), -54, 20}, {0, 0, 15}, 0.9f}; }

// Opaque spheres under an omni light without range and a directional light whose range it ignores.
void SceneOpaque(SceneWriter& s) {
  uint32_t texture = MarkedTexture(s, kRawSizes[2]);
  uint32_t floor = FloorMaterial(s, Rgb(170, 170, 160), Rgb(70, 60, 50));
  s.Ambient(Rgb(30, 30, 36));
  s.Omni("Bulb", Rgb(1, 1, 1), 0, [](float t) { return Vec3{-30 + 8 * t, -40, 40}; });
  s.Directional("Sky", Rgb(0, 0, 1), 50, {1, 2, -1});
  SpecularGrid(s, 0, texture, Rgb(170, 130, 100));
  Floor(s, floor);
  s.Camera(FacingGrid);
}

// Additive spheres over a dark floor, an omni light whose range ends among them and a spot without range.
void SceneAdditive(SceneWriter& s) {
  uint32_t texture = MarkedTexture(s, kRawSizes[3]);
  uint32_t floor = FloorMaterial(s, Rgb(90, 90, 110), Rgb(20, 20, 30));
  s.Ambient(Rgb(20, 20, 30));
  s.Omni("Near", Rgb(40, 30, 20), 45, [](float t) { return Vec3{-20 + 5 * t, -20, 20}; });
  s.Spot("Cone", Rgb(1, 1, 1), 0, 0.3f, 0.7f, [](float t) {
    return std::pair<Vec3, Vec3>{{0, -50, 30}, {8 * std::sin(t * 0.6f), 0, 16}};
  });
  // Written before the floor, drawn after it: the mesh list runs newest first.
  SpecularGrid(s, 1, texture, Rgb(150, 110, 90));
  Floor(s, floor);
  s.Camera(FacingGrid);
}

// The other additive mode, glowing by its emissive colour, under two spots with and without range.
void SceneGlowing(SceneWriter& s) {
  uint32_t texture = MarkedTexture(s, kRawSizes[4]);
  uint32_t floor = FloorMaterial(s, Rgb(120, 100, 100), Rgb(40, 30, 30));
  s.Ambient(Rgb(25, 25, 25));
  s.Spot("Left", Rgb(50, 40, 30), 90, 0.2f, 0.6f, [](float t) {
    return std::pair<Vec3, Vec3>{{-40, -30, 40}, {-5 + 2 * t, 0, 10}};
  });
  s.Spot("Right", Rgb(1, 2, 2), 0, 0.1f, 0.3f, [](float t) {
    return std::pair<Vec3, Vec3>{{40, -30, 30}, {10 - 2 * t, 0, 20}};
  });
  SpecularGrid(s, 2, texture, Rgb(130, 130, 150), Rgb(30, 10, 40));
  Floor(s, floor);
  s.Camera(FacingGrid);
}

// The character's stage: it dances before spheres drawn with their textures' own colours and alpha.
void SceneStage(SceneWriter& s) {
  uint32_t texture = MarkedTexture(s, kRawSizes[5]);
  uint32_t floor = FloorMaterial(s, Rgb(160, 150, 140), Rgb(80, 70, 60));
  s.Ambient(Rgb(35, 30, 40));
  s.Directional("Key", Rgb(1, 1, 1), 0, {0.3f, 1, -0.6f});
  s.Omni("Rim", Rgb(30, 20, 40), 100, [](float t) { return Vec3{20 * std::cos(t), 30, 15}; });
  SpecularGrid(s, 3, texture, Rgb(200, 200, 200), Rgb(0, 0, 0), {0, 25, 18});
  s.Mesh("Podium", MakeCylinder(12, 2, 28), floor, [](float) { return Still({0, 0, 0}); });
  Floor(s, floor);
  s.Camera([](float t) { return CameraPose{{10 * std::sin(t * 0.3f), -45, 18}, {0, 0, 12}, 0.9f}; });
}

// Half transparent spheres by their diffuse alpha over a bright floor; of two ambient lights the last one holds.
void SceneVertexAlpha(SceneWriter& s) {
  uint32_t texture = MarkedTexture(s, kRawSizes[6]);
  uint32_t floor = FloorMaterial(s, Rgb(230, 230, 230), Rgb(90, 120, 90));
  s.Ambient(Rgb(200, 0, 0), "AmbientA");
  s.Ambient(Rgb(30, 30, 40), "AmbientB");
  s.Spot("Top", Rgb(60, 60, 50), 150, 0.5f, 1.2f, [](float t) {
    return std::pair<Vec3, Vec3>{{5 * std::sin(t), -20, 60}, {0, 0, 10}};
  });
  SpecularGrid(s, 4, texture, Rgb(180, 200, 220, 128));
  Floor(s, floor);
  s.Camera(FacingGrid);
}

// A mode above 4 changes no state: these spheres blend as the additive ring drawn before them.
void SceneUnknownMode(SceneWriter& s) {
  uint32_t texture = MarkedTexture(s, kRawSizes[7]);
  uint32_t floor = FloorMaterial(s, Rgb(150, 160, 170), Rgb(50, 60, 70));
  uint32_t ringTexture = MarkedTexture(s, kRawSizes[0]);
  uint32_t ring = s.Material("RingMat", 1, Rgb(50, 90, 70), ringTexture);
  s.Ambient(Rgb(30, 30, 30));
  s.Omni("Bulb", Rgb(1, 1, 1), 0, [](float t) { return Vec3{30, -40 + 4 * t, 35}; });
  s.Directional("Sun", Rgb(1, 0, 0), 80, {-1, 1, -1});
  SpecularGrid(s, 7, texture, Rgb(160, 160, 160));
  s.Mesh("Ring", MakeTorus(22, 1.5f, 40, 10), ring, [](float t) {
    Pose p = Still({0, 5, 16});
    p.rotation = Multiply(Spin({1, 0, 0}, kPi / 2), Spin({0, 0, 1}, t * 0.4f));
    return p;
  });
  Floor(s, floor);
  s.Camera(FacingGrid);
}

// Six lights of every kind, with and without range, over matte and shiny columns.
void SceneLights(SceneWriter& s) {
  uint32_t thin = MarkedTexture(s, kRawSizes[6]);
  uint32_t pixel = MarkedTexture(s, kRawSizes[0]);
  uint32_t floor = FloorMaterial(s, Rgb(150, 150, 150), Rgb(100, 100, 100));
  const MaterialLook matte = {0, Rgb(130, 130, 130), Rgb(25, 25, 25), Rgb(0, 0, 0), Rgb(0, 0, 0), 0, 0};
  const MaterialLook shiny = {0, Rgb(110, 110, 120), Rgb(20, 20, 25), Rgb(50, 50, 50), Rgb(0, 0, 0), 1, 50};
  uint32_t columns[2] = {s.Material("Matte", matte, thin), s.Material("Shiny", shiny, pixel)};
  s.Ambient(Rgb(20, 20, 20));
  s.Spot("SpotFar", Rgb(40, 10, 10), 100, 0.3f, 0.8f, [](float t) {
    return std::pair<Vec3, Vec3>{{-30, -30, 40}, {-10 + 3 * t, 0, 0}};
  });
  s.Spot("SpotNear", Rgb(0, 1, 0), 0, 0.2f, 0.5f, [](float t) {
    return std::pair<Vec3, Vec3>{{30, -30, 40}, {10 - 3 * t, 5, 0}};
  });
  s.Omni("OmniFar", Rgb(20, 20, 40), 50, [](float t) { return Vec3{15 * std::cos(t), 15 * std::sin(t), 12}; });
  s.Omni("OmniNear", Rgb(1, 1, 0), 0, [](float) { return Vec3{0, -60, 10}; });
  s.Directional("DirA", Rgb(0, 0, 1), 0, {1, 0.5f, -1});
  s.Directional("DirB", Rgb(1, 0, 0), 100, {-1, 0.5f, -0.5f});
  for (int i = 0; i < 12; ++i) {
    std::string name = "Column" + std::to_string(i);
    float x = -25 + 10.0f * (i % 6), y = -8 + 16.0f * static_cast<float>(i / 6);
    s.Mesh(name.c_str(), MakeCylinder(2.5f, 14 + 3.0f * (i % 4), 18), columns[i % 2], [x, y](float t) {
      Pose p = Still({x, y, 0});
      p.rotation = Spin({0, 0, 1}, t * 0.3f);
      return p;
    });
  }
  Floor(s, floor);
  s.Camera([](float t) { return Orbit(t - 1.4f, 55, 32, 0.1f, {0, 0, 6}); });
}

// Pre-lit waves with their own diffuse and specular colours beside lit boxes of thin textures.
void ScenePrelit(SceneWriter& s) {
  uint32_t strip = MarkedTexture(s, kRawSizes[4]);
  uint32_t small = MarkedTexture(s, kRawSizes[1]);
  uint32_t plain = s.Material("Plain", 0, Rgb(255, 255, 255));
  uint32_t boxes[2] = {s.Material("BoxOpaque", 0, Rgb(200, 180, 160), strip),
                       s.Material("BoxAdd", 2, Rgb(120, 140, 200), small, Rgb(20, 20, 20))};
  s.Ambient(Rgb(40, 40, 40));
  s.Omni("Lamp", Rgb(40, 40, 36), 120, [](float t) { return Vec3{-20 + 6 * t, -30, 30}; });
  for (int i = 0; i < 4; ++i) {
    std::string name = "Box" + std::to_string(i);
    s.Mesh(name.c_str(), MakeBox(4, 4, 4), boxes[i % 2], [i](float t) {
      Pose p = Still({-18 + 12.0f * i, -10, 10});
      p.rotation = Multiply(Spin({0, 0, 1}, t * 0.7f + i), Spin({1, 1, 0}, 0.5f));
      return p;
    });
  }
  std::vector<PatchVertexColoured> vertices;
  std::vector<uint16_t> indices;
  const int n = 24;
  for (int i = 0; i <= n; ++i) {
    for (int j = 0; j <= n; ++j) {
      float x = -50 + 100.0f * j / n, y = -30 + 80.0f * i / n;
      float h = 4 * std::sin(x * 0.15f) * std::cos(y * 0.1f);
      uint32_t r = static_cast<uint32_t>(120 + 100 * std::sin(x * 0.05f)), g = static_cast<uint32_t>(60 + 8 * i),
               b = static_cast<uint32_t>(200 - 6 * j);
      uint32_t specular = (i + j) % 5 == 0 ? 0xFF303030u : 0xFF000000u;
      vertices.push_back({{x, y, h},
                          {0, 0, 0},
                          0xFF000000u | r << 16 | g << 8 | b,
                          specular,
                          static_cast<float>(j) / n,
                          static_cast<float>(i) / n});
    }
  }
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      uint16_t a = static_cast<uint16_t>(i * (n + 1) + j), b = static_cast<uint16_t>(a + 1),
               c = static_cast<uint16_t>(a + n + 1), d = static_cast<uint16_t>(c + 1);
      indices.insert(indices.end(), {a, b, d, a, d, c});
    }
  }
  s.MeshColoured("Waves", vertices, indices, plain);
  s.Camera([](float t) { return CameraPose{{-10 + 3 * t, -55, 30}, {0, 0, 5}, 0.9f}; });
}

// Every raw texture size on a row of matte boxes the camera passes along.
void SceneTextures(SceneWriter& s) {
  uint32_t materials[std::size(kRawSizes)];
  for (size_t i = 0; i < std::size(kRawSizes); ++i) {
    std::string name = std::string(kRawSizes[i].name) + "Mat";
    materials[i] = s.Material(name.c_str(), {0, Rgb(220, 220, 220), Rgb(50, 50, 50), Rgb(0, 0, 0), Rgb(0, 0, 0), 0, 0},
                              MarkedTexture(s, kRawSizes[i]));
  }
  s.Ambient(Rgb(60, 60, 60));
  s.Directional("Sun", Rgb(1, 1, 1), 0, {0.4f, 1, -0.7f});
  for (size_t i = 0; i < std::size(kRawSizes); ++i) {
    float x = -35 + 10.0f * static_cast<float>(i);
    s.Mesh((std::string("Box") + kRawSizes[i].name).c_str(), MakeBox(4, 4, 4), materials[i], [x](float t) {
      Pose p = Still({x, 0, 5});
      p.rotation = Spin({0, 0, 1}, 0.3f + 0.1f * t);
      return p;
    });
  }
  s.Camera([](float t) { return CameraPose{{-14 + 4 * t, -75, 26}, {-10 + 4 * t, 0, 2}, 0.9f}; });
}

}  // namespace

std::vector<uint8_t> BuildVarietyScene(int index) {
  using Builder = void (*)(SceneWriter&);
  constexpr Builder kBuilders[] = {SceneOpaque,      SceneAdditive, SceneGlowing, SceneStage,   SceneVertexAlpha,
                                   SceneUnknownMode, SceneLights,   ScenePrelit,  SceneTextures};
  SceneWriter s(kVarietySceneSeconds);
  kBuilders[index](s);
  return s.Finish();
}
