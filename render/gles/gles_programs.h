// The shader back end's programs and the state they draw with: one for lit vertices, one for vertices that carry
// their colours (or none, drawn white), one for screen-space vertices.
#pragma once

#include <cstdint>

#include "render/record_data.h"

enum ProgramKind : uint32_t {
  ProgramLit,
  ProgramUnlit,
  ProgramScreen,
  kProgramCount,
};

// Vertex attribute locations, the same in every program.
enum AttributeLocation : uint32_t {
  AttributePosition,
  AttributeNormal,
  AttributeDiffuse,  // 0xAARRGGBB words, read as bytes
  AttributeSpecular,
  AttributeTexCoord,
  kAttributeCount,
};

constexpr uint32_t kShaderStages = 2;

// Everything the programs read. Each group has a version that goes up when it changes; a program sends a group
// again only when it last saw an older version.
enum StateGroup : uint32_t {
  GroupTransform,  // world, view, normalMatrix, eye, projection, screen, flipY
  GroupMaterial,   // material colours, power
  GroupLights,     // ambient, lights
  GroupSurface,    // stage operations, fog
  kStateGroups,
};

struct ShaderState {
  uint32_t versions[kStateGroups] = {1, 1, 1, 1};
  // Rows are vectors, as in the scene: uploaded as they are, GLSL's column-major matrices multiply them right.
  float world[16] = {};
  float view[16] = {};
  float normalMatrix[9] = {};  // the inverse transpose of world's 3 x 3 part; normals stay unnormalised
  float eye[3] = {};           // the camera's place in world space
  float projection[16] = {};
  float screen[4] = {};       // the 2D view's left and top edges, 2 / width, 2 / height
  float flipY = 1.0f;         // -1 while drawing into a texture, whose rows go top first
  float fog[2] = {};          // end, 1 / (end - start); vertex fog
  float material[4][4] = {};  // diffuse, ambient, specular (times the specular level), emissive
  float power = 0.0f;
  float ambient[3] = {};  // the ambient light's colour, 0 to 1
  // The lights in use, in world space, first lightCount entries of each array.
  int32_t lightCount = 0;
  float lightPosition[kLightSlots][4] = {};   // w: the light's type (1 point, 2 spot, 3 directional)
  float lightDirection[kLightSlots][4] = {};  // where a spot or directional light shines, of unit length
  float lightColour[kLightSlots][4] = {};     // the byte values 0 to 255 as they are
  float lightShape[kLightSlots][4] = {};      // range (0: unlimited), cosines of half the inner and outer angles
  int32_t stage[4] = {};    // stage 0 textured, colour op (0 modulate, 1 texture), alpha op (0 diffuse, 1 texture)
  float fogColour[4] = {};  // alpha 1 while fog is on

  void Changed(StateGroup group) { ++versions[group]; }
};

class GlesPrograms {
 public:
  // False when a program does not build; what the compiler said is reported as a warning.
  bool Build();
  void Release();
  // Makes the program current and sends it the groups that changed since it last drew.
  void Use(ProgramKind kind, const ShaderState& state);

 private:
  struct Program {
    uint32_t name;
    uint32_t seen[kStateGroups];
    int32_t world, view, normalMatrix, eye, projection, screen, flipY, fog;
    int32_t material, power, ambient, lightCount, lightPosition, lightDirection, lightColour, lightShape;
    int32_t stage, fogColour, texture;
  };
  Program programs_[kProgramCount] = {};
  ProgramKind current_ = kProgramCount;
};
