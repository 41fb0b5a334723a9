// Files past the limits of the scene, overlay and character readers, and what the user is told of each.
#include <functional>
#include <string>
#include <vector>

#include "overlay/character.h"
#include "overlay/overlays.h"
#include "scene/scene_file.h"
#include "tests/scene_fixture.h"
#include "tools/content/character_writer.h"
#include "tools/content/overlay_writer.h"

namespace {

// bytes padded with zeros to one byte past limit.
std::vector<uint8_t> PastLimit(std::vector<uint8_t> bytes, size_t limit) {
  bytes.resize(limit + 1);
  return bytes;
}

std::vector<uint8_t> Materials(uint32_t count) {
  Qz3Writer w;
  for (uint32_t i = 0; i < count; ++i) w.Material(MaterialRecord("M", i));
  w.End();
  return w.Bytes();
}

std::vector<uint8_t> OneTriangleMesh() {
  std::vector<SkinVertexRecord> v(3, RigidVertex(0, {0, 0, 0}, {0, 0, 1}, 0, 0));
  return MeshFileBytes(3, 1, v, {0, 1, 2});
}

// What a load leaves when it returns; a fatal report's text stands in its place.
using Load = std::function<std::string(const char* path, World& world)>;

const Load kScene = [](const char* path, World& world) {
  LoadScene(path, &world);
  return std::string("loaded");
};
const Load kOverlays = [](const char* path, World& world) {
  LoadOverlays("2D", path, &world, ".");
  return std::string("loaded");
};
const Load kAnimation = [](const char* path, World&) {
  BoneAnimation animation;
  animation.Load(path);
  bool any = animation.frameCount != 0;
  animation.Release();
  return std::string(any ? "loaded" : "nothing loaded");
};
const Load kMesh = [](const char* path, World&) {
  SkinMesh mesh;
  mesh.Load(path);
  bool any = mesh.patch != nullptr;
  mesh.Release();
  return std::string(any ? "loaded" : "nothing loaded");
};

using FileLimits = SceneTest;

TEST_F(FileLimits, AFilePastItsReadersLimitGetsTheReadersOwnAnswer) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    Load load;
    std::string outcome;  // "%s" stands for the file's path
  };
  const std::vector<uint8_t> empty = Materials(0);
  const Case cases[] = {
      {"scene file past 64 MiB", PastLimit(empty, 64u << 20), kScene, "Can't open file (%s)"},
      {"scene of 16384 elements and patches", Materials(16384), kScene, "loaded"},
      {"scene of one more", Materials(16385), kScene, "Error reading Material"},
      {"overlay file past 256 KiB", PastLimit({}, 256u << 10), kOverlays, "Error opening File (%s)"},
      {"animation file past 16 MiB", PastLimit(AnimationFileBytes(1, 1, {{}}), 16u << 20), kAnimation,
       "nothing loaded"},
      {"mesh file past 16 MiB", PastLimit(OneTriangleMesh(), 16u << 20), kMesh, "nothing loaded"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = scratch.Write("file", c.bytes);
    std::string outcome;
    const std::string fatal = FatalText([&] { outcome = c.load(path.c_str(), world); });
    std::string expected = c.outcome;
    if (size_t at = expected.find("%s"); at != std::string::npos) expected.replace(at, 2, path);
    EXPECT_EQ(fatal.empty() ? outcome : fatal, expected);
    world.Destroy();
  }
}

}  // namespace
