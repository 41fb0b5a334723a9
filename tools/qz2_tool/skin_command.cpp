// qz2-tool skin: loads the character's animation and mesh as the driver does and prints the skinned vertices of given
// frames.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "overlay/character.h"
#include "scene/mesh.h"
#include "tools/qz2_tool/tool.h"

namespace {

bool ParseFrames(int argc, char** argv, std::vector<uint32_t>& frames) {
  for (int i = 3; i < argc; i += 2) {
    if (std::strcmp(argv[i], "--frame") != 0 || i + 1 >= argc) return false;
    char* end;
    unsigned long frame = std::strtoul(argv[i + 1], &end, 10);
    if (end == argv[i + 1] || *end || argv[i + 1][0] == '-' || frame > UINT32_MAX) return false;
    frames.push_back(static_cast<uint32_t>(frame));
  }
  return argc >= 3;
}

int RunSkin(int argc, char** argv) {
  std::vector<uint32_t> frames;
  if (!ParseFrames(argc, argv, frames)) {
    std::fputs("usage: qz2-tool skin ANIM.qza MESH.qzb --frame F...\n", stderr);
    return 2;
  }
  BoneAnimation animation;
  animation.Load(argv[1]);
  BoneSet bones;
  bones.Create(animation.boneCount);
  SkinMesh mesh;
  mesh.Load(argv[2]);

  JsonWriter json;
  json.BeginObject();
  Integer(json, "bones", animation.boneCount);
  Integer(json, "frames", animation.frameCount);
  Integer(json, "vertexCount", mesh.vertexCount);
  Integer(json, "triangleCount", mesh.triangleCount);
  json.Key("poses");
  json.BeginArray();
  for (uint32_t f : frames) {
    animation.PoseBones(bones, f);
    mesh.SkinVertices(bones);
    json.BeginObject();
    Integer(json, "frame", f);
    json.Key("vertices");
    json.BeginArray();
    const auto* vertices = static_cast<const PatchVertexLit*>(mesh.patch ? mesh.patch->vertices : nullptr);
    for (uint32_t i = 0; i < mesh.vertexCount; ++i) {
      const PatchVertexLit& v = vertices[i];
      const float values[8] = {v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z, v.u, v.v};
      json.Floats(values, 8);
    }
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  json.Finish();

  mesh.Release();
  bones.Release();
  animation.Release();
  return 0;
}

ToolCommandRegistration g_skin({"skin", "ANIM.qza MESH.qzb --frame F...", RunSkin});

}  // namespace
