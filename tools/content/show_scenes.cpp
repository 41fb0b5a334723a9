// The nine scenes of the default show, written as .qz3 files.
#include "tools/content/show_scenes.h"

#include <cmath>
#include <string>

#include "tools/content/scene_writer.h"

namespace {

constexpr float kSceneSeconds[kSceneCount] = {14, 12, 12, 14, 11, 11, 11, 11, 14};

// A soft radial glow, black at the rim: drawn additively it leaves the background as it was.
Colour Glow(int x, int y, int size, Colour c) {
  float dx = (x + 0.5f) / size * 2 - 1, dy = (y + 0.5f) / size * 2 - 1;
  float f = std::fmax(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy));
  f *= f;
  return Rgb(static_cast<uint8_t>(c.red * f), static_cast<uint8_t>(c.green * f), static_cast<uint8_t>(c.blue * f));
}

// Opening: a ring of turning cubes on a checker floor under a warm light.
void SceneRingOfCubes(SceneWriter& s) {
  uint32_t floorTex =
      s.Texture("Floor", 64, [](int x, int y) { return Checker(x, y, 8, Rgb(200, 200, 210), Rgb(60, 60, 80)); });
  uint32_t floor = s.Material("FloorMat", 0, Rgb(255, 255, 255), floorTex);
  uint32_t cube = s.Material("CubeMat", 0, Rgb(230, 140, 60), kQz3NoIndex, Rgb(0, 0, 0), 0.05f);
  s.Ambient(Rgb(50, 50, 60));
  s.Omni("Sun", Rgb(42, 38, 34), 200.0f, [](float t) {
    return Vec3{30 * std::cos(t * 0.3f), 30 * std::sin(t * 0.3f), 40};
  });
  s.Mesh("Floor", MakeGrid(60, 12, 8), floor, [](float) { return Still({0, 0, 0}); });
  for (int i = 0; i < 8; ++i) {
    float a = 2 * kPi * i / 8;
    std::string name = "Cube" + std::to_string(i);
    s.Mesh(name.c_str(), MakeBox(3, 3, 3), cube, [a, i](float t) {
      Pose p = Still({20 * std::cos(a), 20 * std::sin(a), 5 + 2 * std::sin(t * 2 + i)});
      p.rotation = Multiply(Spin({0, 0, 1}, t * 0.8f + a), Spin({1, 0, 0}, t * 1.3f));
      return p;
    });
  }
  s.Camera([](float t) { return Orbit(t, 48 - t, 22 - t * 0.6f, 0.25f, {0, 0, 4}); });
}

// Bouncing spheres over a tiled floor; the camera dollies along them.
void SceneSpheres(SceneWriter& s) {
  uint32_t tileTex =
      s.Texture("Tiles", 64, [](int x, int y) { return Checker(x, y, 16, Rgb(40, 120, 160), Rgb(230, 230, 220)); });
  uint32_t floor = s.Material("TileMat", 0, Rgb(255, 255, 255), tileTex);
  const Colour colours[3] = {Rgb(220, 40, 40), Rgb(40, 200, 70), Rgb(60, 90, 230)};
  uint32_t mats[3];
  for (int i = 0; i < 3; ++i)
    mats[i] = s.Material(("Ball" + std::to_string(i)).c_str(), 0, colours[i], kQz3NoIndex, Rgb(0, 0, 0), 0.08f);
  s.Ambient(Rgb(40, 40, 50));
  s.Omni("Key", Rgb(36, 36, 36), 150.0f, [](float) { return Vec3{-10, -20, 45}; });
  s.Omni("Fill", Rgb(12, 18, 27), 150.0f, [](float t) { return Vec3{30 * std::sin(t), 30, 15}; });
  s.Mesh("Floor", MakeGrid(80, 16, 10), floor, [](float) { return Still({0, 0, 0}); });
  for (int i = 0; i < 9; ++i) {
    std::string name = "Ball" + std::to_string(i);
    float x = -40 + 10.0f * i;
    s.Mesh(name.c_str(), MakeSphere(3, 20, 12), mats[i % 3], [x, i](float t) {
      float bounce = std::fabs(std::sin(t * 2.2f + i * 0.7f));
      Pose p = Still({x, 6 * std::sin(i * 1.1f), 3 + 14 * bounce});
      p.scale = {1.0f + 0.15f * (1 - bounce), 1.0f + 0.15f * (1 - bounce), 1.0f - 0.2f * (1 - bounce)};
      return p;
    });
  }
  s.Camera([](float t) { return CameraPose{{-50 + t * 7, -40, 16}, {-30 + t * 6, 0, 6}, 0.9f}; });
}

// A tunnel of rings the camera flies through, lit by a light that travels with it.
void SceneTunnel(SceneWriter& s) {
  uint32_t stripes =
      s.Texture("Stripes", 64, [](int x, int) { return (x / 8) & 1 ? Rgb(250, 200, 80) : Rgb(120, 30, 140); });
  uint32_t ring = s.Material("RingMat", 0, Rgb(255, 255, 255), stripes, Rgb(0, 0, 0), 0.05f);
  s.Ambient(Rgb(30, 20, 40));
  s.Omni("Lamp", Rgb(24, 24, 24), 120.0f, [](float t) { return Vec3{0, -60 + t * 11 + 8, 2}; });
  for (int i = 0; i < 14; ++i) {
    std::string name = "Ring" + std::to_string(i);
    float y = -50 + 12.0f * i;
    s.Mesh(name.c_str(), MakeTorus(12, 1.5f, 32, 10), ring, [y, i](float t) {
      Pose p = Still({3 * std::sin(i * 0.6f), y, 3 * std::cos(i * 0.5f)});
      p.rotation = Multiply(Spin({1, 0, 0}, kPi / 2), Spin({0, 0, 1}, t * (i % 2 ? 0.6f : -0.6f)));
      return p;
    });
  }
  s.Camera([](float t) {
    float y = -60 + t * 11;
    return CameraPose{{2 * std::sin(t * 0.7f), y, 2 * std::cos(t * 0.5f)}, {0, y + 20, 0}, 1.1f};
  });
}

// The character's stage: a round podium with pillars around where the dancer stands.
void SceneStage(SceneWriter& s) {
  uint32_t stoneTex = s.Texture("Stone", 64, [](int x, int y) {
    int n = (x * 7 + y * 13 + (x * y) % 11) % 40;
    return Rgb(static_cast<uint8_t>(150 + n), static_cast<uint8_t>(140 + n), static_cast<uint8_t>(120 + n));
  });
  uint32_t stone = s.Material("StoneMat", 0, Rgb(255, 255, 255), stoneTex);
  uint32_t pillar = s.Material("PillarMat", 0, Rgb(180, 180, 200), kQz3NoIndex, Rgb(0, 0, 0), 0.05f);
  s.Ambient(Rgb(45, 40, 50));
  s.Omni("Front", Rgb(27, 25, 24), 150.0f, [](float) { return Vec3{0, -35, 30}; });
  s.Omni("Back", Rgb(18, 12, 30), 150.0f, [](float t) { return Vec3{25 * std::cos(t), 25 * std::sin(t), 10}; });
  s.Mesh("Podium", MakeCylinder(16, 2, 40), stone, [](float) { return Still({0, 0, 0}); });
  for (int i = 0; i < 6; ++i) {
    float a = 2 * kPi * i / 6 + kPi / 6;
    std::string name = "Pillar" + std::to_string(i);
    s.Mesh(name.c_str(), MakeCylinder(1.5f, 24, 16), pillar, [a](float) {
      return Still({22 * std::cos(a), 22 * std::sin(a), 0});
    });
  }
  s.Camera([](float t) { return Orbit(t - 1.6f, 40, 18, 0.12f, {0, 0, 8}, 0.8f); });
}

// Glowing crystals drawn additively over a dark ground.
void SceneCrystals(SceneWriter& s) {
  uint32_t glowTex = s.Texture("Glow", 64, [](int x, int y) { return Glow(x, y, 64, Rgb(120, 200, 255)); });
  uint32_t crystal = s.Material("CrystalMat", 1, Rgb(255, 255, 255), glowTex, Rgb(60, 60, 90));
  uint32_t ground = s.Material("GroundMat", 0, Rgb(50, 50, 70));
  s.Ambient(Rgb(30, 30, 40));
  s.Omni("Blue", Rgb(12, 24, 42), 150.0f, [](float t) { return Vec3{20 * std::cos(t), 20 * std::sin(t), 20}; });
  for (int i = 0; i < 12; ++i) {
    std::string name = "Crystal" + std::to_string(i);
    float a = 2 * kPi * i / 12;
    float r = 8 + 6.0f * (i % 3);
    s.Mesh(name.c_str(), MakeOctahedron(3), crystal, [a, r, i](float t) {
      Pose p = Still({r * std::cos(a + t * 0.3f), r * std::sin(a + t * 0.3f), 2 + 3 * std::sin(t + i)});
      p.scale = {1, 1, 2};
      p.rotation = Spin({0, 0, 1}, t * 1.5f + i);
      return p;
    });
  }
  // Written last, drawn first: the mesh list runs newest first and the glows add onto what is there.
  s.Mesh("Ground", MakeGrid(60, 8, 1), ground, [](float) { return Still({0, 0, -6}); });
  s.Camera([](float t) { return Orbit(t, 36, 14 + 6 * std::sin(t * 0.4f), 0.2f, {0, 0, 0}); });
}

// Hills of coloured, pre-lit vertices rolling under the camera.
void SceneHills(SceneWriter& s) {
  uint32_t plain = s.Material("Plain", 0, Rgb(255, 255, 255));
  s.Ambient(Rgb(60, 60, 60));
  // Pre-lit patches carry their colours; they are written by hand here.
  std::vector<PatchVertexColoured> vertices;
  std::vector<uint16_t> indices;
  const int n = 40;
  for (int i = 0; i <= n; ++i) {
    for (int j = 0; j <= n; ++j) {
      float x = -80 + 160.0f * j / n, y = -80 + 160.0f * i / n;
      float h = 6 * std::sin(x * 0.08f) * std::cos(y * 0.07f) + 3 * std::sin((x + y) * 0.15f);
      float f = (h + 9) / 18;
      uint32_t r = static_cast<uint32_t>(40 + 180 * f), g = static_cast<uint32_t>(120 + 100 * (1 - f)), b = 60;
      vertices.push_back({{x, y, h}, {0, 0, 0}, 0xFF000000u | r << 16 | g << 8 | b, 0xFF000000u, 0, 0});
    }
  }
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      uint16_t a = static_cast<uint16_t>(i * (n + 1) + j), b = static_cast<uint16_t>(a + 1),
               c = static_cast<uint16_t>(a + n + 1), d = static_cast<uint16_t>(c + 1);
      indices.insert(indices.end(), {a, b, d, a, d, c});
    }
  }
  s.MeshColoured("Hills", vertices, indices, plain);
  s.Camera([](float t) { return CameraPose{{-60 + t * 9, -50 + t * 4, 30 - t}, {-30 + t * 9, 0, 0}, 0.95f}; });
}

// Spot lights sweep over a field of columns of different heights.
void SceneSpots(SceneWriter& s) {
  uint32_t floor = s.Material("FloorMat", 0, Rgb(200, 200, 200));
  uint32_t column = s.Material("ColumnMat", 0, Rgb(230, 230, 230), kQz3NoIndex, Rgb(0, 0, 0), 0.04f);
  s.Ambient(Rgb(25, 25, 30));
  const Colour colours[3] = {Rgb(45, 12, 12), Rgb(12, 45, 12), Rgb(12, 18, 50)};
  for (int i = 0; i < 3; ++i) {
    std::string name = "Spot" + std::to_string(i);
    s.Spot(name.c_str(), colours[i], 200.0f, 0.3f, 0.6f, [i](float t) {
      float a = t * 0.7f + i * 2 * kPi / 3;
      return std::pair<Vec3, Vec3>{{0, 0, 50}, {25 * std::cos(a), 25 * std::sin(a), 0}};
    });
  }
  s.Mesh("Floor", MakeGrid(50, 20, 1), floor, [](float) { return Still({0, 0, 0}); });
  for (int i = 0; i < 25; ++i) {
    std::string name = "Column" + std::to_string(i);
    float x = -24 + 12.0f * (i % 5), y = -24 + 12.0f * (i / 5);
    float h = 0.5f + 0.5f * std::fabs(std::sin(i * 1.7f));
    s.Mesh(name.c_str(), MakeBox(2.5f, 2.5f, 6), column, [x, y, h](float) {
      Pose p = Still({x, y, 6 * h});
      p.scale = {1, 1, h};
      return p;
    });
  }
  s.Camera([](float t) { return Orbit(t, 60, 40, -0.15f, {0, 0, 0}, 0.85f); });
}

// Spheres climbing a turning double helix.
void SceneHelix(SceneWriter& s) {
  uint32_t pearlTex = s.Texture(
      "Pearl", 64, [](int x, int y) { return Rgb(static_cast<uint8_t>(180 + x), static_cast<uint8_t>(160 + y), 240); });
  uint32_t pearl = s.Material("PearlMat", 0, Rgb(255, 255, 255), pearlTex, Rgb(0, 0, 0), 0.12f);
  uint32_t axis = s.Material("AxisMat", 0, Rgb(120, 120, 140));
  s.Ambient(Rgb(40, 40, 50));
  s.Omni("Top", Rgb(30, 30, 30), 150.0f, [](float) { return Vec3{10, -30, 50}; });
  s.Omni("Low", Rgb(24, 12, 6), 100.0f, [](float t) { return Vec3{20 * std::cos(t), 20 * std::sin(t), 0}; });
  s.Mesh("Axis", MakeCylinder(1, 40, 16), axis, [](float t) {
    Pose p = Still({0, 0, -5});
    p.rotation = Spin({0, 0, 1}, t);
    return p;
  });
  for (int i = 0; i < 20; ++i) {
    std::string name = "Pearl" + std::to_string(i);
    s.Mesh(name.c_str(), MakeSphere(1.8f, 16, 10), pearl, [i](float t) {
      float a = i * 0.9f + t * 0.9f + (i % 2) * kPi;
      return Still({8 * std::cos(a), 8 * std::sin(a), -4 + 1.9f * i});
    });
  }
  s.Camera([](float t) { return Orbit(t, 40, 5 + t * 2, 0.3f, {0, 0, 6 + t}, 1.0f); });
}

// Finale: everything turns, the camera pulls back from the centre.
void SceneFinale(SceneWriter& s) {
  uint32_t floorTex =
      s.Texture("Floor", 64, [](int x, int y) { return Checker(x, y, 8, Rgb(90, 90, 110), Rgb(30, 30, 40)); });
  uint32_t floor = s.Material("FloorMat", 0, Rgb(255, 255, 255), floorTex);
  uint32_t gold = s.Material("GoldMat", 0, Rgb(240, 190, 70), kQz3NoIndex, Rgb(20, 10, 0), 0.1f);
  uint32_t glowTex = s.Texture("Glow", 64, [](int x, int y) { return Glow(x, y, 64, Rgb(255, 160, 80)); });
  uint32_t glow = s.Material("GlowMat", 2, Rgb(255, 255, 255), glowTex, Rgb(80, 50, 30));
  s.Ambient(Rgb(50, 45, 50));
  s.Omni("Key", Rgb(48, 45, 42), 200.0f, [](float t) {
    return Vec3{40 * std::cos(t * 0.2f), 40 * std::sin(t * 0.2f), 60};
  });
  // The glowing heart is drawn after everything opaque: the mesh list runs newest first.
  s.Mesh("Heart", MakeOctahedron(5), glow, [](float t) {
    Pose p = Still({0, 0, 8}, 1.0f + 0.2f * std::sin(t * 4));
    p.rotation = Spin({0, 0, 1}, t * 2);
    return p;
  });
  s.Mesh("Floor", MakeGrid(100, 20, 12), floor, [](float) { return Still({0, 0, -10}); });
  for (int i = 0; i < 3; ++i) {
    std::string name = "Gyro" + std::to_string(i);
    s.Mesh(name.c_str(), MakeTorus(10.0f + 5 * i, 1.2f, 48, 12), gold, [i](float t) {
      Pose p = Still({0, 0, 8});
      Vec3 axis = i == 0 ? Vec3{1, 0, 0} : i == 1 ? Vec3{0, 1, 0} : Vec3{1, 1, 0};
      p.rotation = Spin(axis, t * (0.5f + 0.3f * i));
      return p;
    });
  }
  s.Camera([](float t) { return Orbit(t, 25 + t * 3.5f, 10 + t * 2, 0.25f, {0, 0, 6}, 0.9f); });
}

}  // namespace

float ShowSceneSeconds(int index) { return kSceneSeconds[index]; }

std::vector<uint8_t> BuildShowScene(int index, float seconds) {
  using Builder = void (*)(SceneWriter&);
  constexpr Builder kBuilders[kSceneCount] = {SceneRingOfCubes, SceneSpheres, SceneTunnel, SceneStage, SceneCrystals,
                                              SceneHills,       SceneSpots,   SceneHelix,  SceneFinale};
  SceneWriter s(seconds);
  kBuilders[index](s);
  return s.Finish();
}
