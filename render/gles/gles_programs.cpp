// The shader back end's programs: the Direct3D 7 reference's vertex lighting, stage 0 and vertex fog in GLSL ES 3.00.
#include "render/gles/gles_programs.h"

#include <GLES3/gl3.h>

#include <cstdio>

#include "core/error.h"

namespace {

// What every vertex program shares: inputs, outputs, and the end of main (flip, fog).
constexpr char kVertexHead[] = R"(#version 300 es
layout(location = 0) in vec4 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aDiffuse;
layout(location = 3) in vec4 aSpecular;
layout(location = 4) in vec2 aTexCoord;
uniform mat4 uWorld;
uniform mat4 uView;
uniform mat4 uProjection;
uniform float uFlipY;
uniform vec2 uFog;
out vec4 vDiffuse;
out vec3 vSpecular;
out vec2 vTexCoord;
out float vFog;

// Linear vertex fog by eye depth: 1 keeps the colour, 0 is all fog.
float FogFactor(float depth) { return clamp((uFog.x - depth) * uFog.y, 0.0, 1.0); }
)";

// The reference's vertex lighting, in world space as render/vertex_lighting.cpp computes it on the CPU: normals
// are not renormalised, light colours are byte values, the ambient light's colour is 0 to 1. A light reaches no
// vertex beyond its range; range 0 reaches everywhere undimmed, any other range dims by 1 / distance. A spot is
// full inside half its inner angle, dark outside half its outer angle, linear in the cosine between. Power 0
// gives each lit front face the whole specular colour.
constexpr char kLitMain[] = R"(
uniform mat3 uNormalMatrix;
uniform vec3 uEye;
uniform vec4 uMaterial[4];
uniform float uPower;
uniform vec3 uAmbient;
uniform int uLightCount;
uniform vec4 uLightPosition[8];
uniform vec4 uLightDirection[8];
uniform vec4 uLightColour[8];
uniform vec4 uLightShape[8];

// A vector of no length stays zero, so that it lights nothing.
vec3 Unit(vec3 v) {
  float length = length(v);
  return length > 0.0 ? v / length : vec3(0.0);
}

void main() {
  vec4 world = uWorld * aPosition;
  vec3 point = world.xyz;
  vec3 normal = uNormalMatrix * aNormal;
  vec3 toEye = Unit(uEye - point);
  vec3 ambient = vec3(0.0);
  vec3 diffuse = vec3(0.0);
  vec3 specular = vec3(0.0);
  for (int i = 0; i < uLightCount; ++i) {
    vec4 shape = uLightShape[i];
    vec3 direction = uLightDirection[i].xyz;
    vec3 toLight = -direction;
    float reach = 1.0;
    if (uLightPosition[i].w != 3.0) {
      vec3 offset = uLightPosition[i].xyz - point;
      float distance = length(offset);
      if (!(distance > 0.0) || (shape.x > 0.0 && distance > shape.x)) continue;
      toLight = offset / distance;
      if (shape.x > 0.0) reach = 1.0 / distance;
      if (uLightPosition[i].w == 2.0) {
        float rho = -dot(direction, toLight);
        if (!(rho > shape.y)) {
          if (rho <= shape.z) continue;
          reach = reach * (rho - shape.z) / (shape.y - shape.z);
        }
      }
    }
    if (reach <= 0.0) continue;
    float nl = dot(normal, toLight);
    float shine = 0.0;
    if (nl > 0.0) {
      float nh = dot(normal, Unit(toLight + toEye));
      if (nh > 0.0) shine = uPower == 0.0 ? 1.0 : pow(nh, uPower);
    }
    vec3 colour = uLightColour[i].rgb;
    ambient += colour * reach;
    diffuse += colour * reach * max(nl, 0.0);
    specular += colour * reach * shine;
  }
  vec3 lit = uMaterial[3].rgb + uMaterial[1].rgb * (uAmbient + ambient) + uMaterial[0].rgb * diffuse;
  vDiffuse = vec4(clamp(lit, 0.0, 1.0), uMaterial[0].a);
  vSpecular = clamp(uMaterial[2].rgb * specular, 0.0, 1.0);
  vTexCoord = aTexCoord;
  vec4 eye = uView * world;
  vFog = FogFactor(eye.z);
  gl_Position = uProjection * eye;
  gl_Position.y *= uFlipY;
}
)";

// Vertices with their own colours (an array left off gives white and no specular).
constexpr char kUnlitMain[] = R"(
void main() {
  vec4 eye = uView * (uWorld * aPosition);
  vDiffuse = aDiffuse.bgra;
  vSpecular = aSpecular.bgr;
  vTexCoord = aTexCoord;
  vFog = FogFactor(eye.z);
  gl_Position = uProjection * eye;
  gl_Position.y *= uFlipY;
}
)";

// Screen pixels with depth 0 near to 1 far and a reciprocal w; the fog factor is the specular alpha.
constexpr char kScreenMain[] = R"(
uniform vec4 uScreen;

void main() {
  float w = aPosition.w > 0.0 ? 1.0 / aPosition.w : 1.0;
  vec2 clip = vec2((aPosition.x - uScreen.x) * uScreen.z - 1.0, 1.0 - (aPosition.y - uScreen.y) * uScreen.w);
  vDiffuse = aDiffuse.bgra;
  vSpecular = aSpecular.bgr;
  vTexCoord = aTexCoord;
  vFog = aSpecular.a;
  gl_Position = vec4(clip, 2.0 * aPosition.z - 1.0, 1.0) * w;
  gl_Position.y *= uFlipY;
}
)";

// Stage 0 (the texture modulating or replacing the colour, the alpha from either), then the specular colour where
// the texture modulates (the reference adds none to the texture's own colour), then fog. Without a texture the
// stage passes the vertex colour on.
constexpr char kFragment[] = R"(#version 300 es
precision highp float;
uniform sampler2D uTexture;
uniform ivec4 uStage;
uniform vec4 uFogColour;
in vec4 vDiffuse;
in vec3 vSpecular;
in vec2 vTexCoord;
in float vFog;
out vec4 oColour;

void main() {
  vec3 colour = vDiffuse.rgb;
  float alpha = vDiffuse.a;
  if (uStage.x != 0) {
    vec4 texel = texture(uTexture, vTexCoord);
    colour = uStage.y == 0 ? texel.rgb * colour : texel.rgb;
    if (uStage.z != 0) alpha = texel.a;
  }
  if (uStage.y == 0) colour = min(colour + vSpecular, 1.0);
  if (uFogColour.a > 0.0) colour = mix(uFogColour.rgb, colour, vFog);
  oColour = vec4(colour, alpha);
}
)";

const char* const kVertexMains[kProgramCount] = {kLitMain, kUnlitMain, kScreenMain};

void ReportLog(const char* what, const char* log) {
  char text[1024];
  std::snprintf(text, sizeof text, "Could not build the shaders (%s): %s", what, log);
  ReportError(text, false);
}

GLuint Compile(GLenum type, const char* const* parts, GLsizei count) {
  GLuint shader = glCreateShader(type);
  glShaderSource(shader, count, parts, nullptr);
  glCompileShader(shader);
  GLint compiled = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled) return shader;
  char log[768] = {};
  glGetShaderInfoLog(shader, sizeof log, nullptr, log);
  ReportLog(type == GL_VERTEX_SHADER ? "vertex" : "fragment", log);
  glDeleteShader(shader);
  return 0;
}

GLuint Link(GLuint vertex, GLuint fragment) {
  GLuint program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  glDetachShader(program, vertex);
  glDetachShader(program, fragment);
  GLint linked = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (linked) return program;
  char log[768] = {};
  glGetProgramInfoLog(program, sizeof log, nullptr, log);
  ReportLog("link", log);
  glDeleteProgram(program);
  return 0;
}

}  // namespace

bool GlesPrograms::Build() {
  const char* fragmentParts[] = {kFragment};
  GLuint fragment = Compile(GL_FRAGMENT_SHADER, fragmentParts, 1);
  bool built = fragment != 0;
  for (uint32_t kind = 0; built && kind < kProgramCount; ++kind) {
    const char* vertexParts[] = {kVertexHead, kVertexMains[kind]};
    GLuint vertex = Compile(GL_VERTEX_SHADER, vertexParts, 2);
    GLuint name = vertex ? Link(vertex, fragment) : 0;
    if (vertex) glDeleteShader(vertex);
    built = name != 0;
    Program& p = programs_[kind];
    p = {};
    if (!built) break;
    p.name = name;
    auto at = [name](const char* uniform) { return glGetUniformLocation(name, uniform); };
    p.world = at("uWorld");
    p.view = at("uView");
    p.normalMatrix = at("uNormalMatrix");
    p.eye = at("uEye");
    p.projection = at("uProjection");
    p.screen = at("uScreen");
    p.flipY = at("uFlipY");
    p.fog = at("uFog");
    p.material = at("uMaterial");
    p.power = at("uPower");
    p.ambient = at("uAmbient");
    p.lightCount = at("uLightCount");
    p.lightPosition = at("uLightPosition");
    p.lightDirection = at("uLightDirection");
    p.lightColour = at("uLightColour");
    p.lightShape = at("uLightShape");
    p.stage = at("uStage");
    p.fogColour = at("uFogColour");
    p.texture = at("uTexture");
  }
  if (fragment) glDeleteShader(fragment);
  current_ = kProgramCount;
  return built;
}

void GlesPrograms::Release() {
  for (Program& p : programs_) {
    if (p.name) glDeleteProgram(p.name);
    p = {};
  }
  current_ = kProgramCount;
}

// A uniform a program lacks has location -1, which GL ignores.
void GlesPrograms::Use(ProgramKind kind, const ShaderState& state) {
  Program& p = programs_[kind];
  if (current_ != kind) {
    glUseProgram(p.name);
    current_ = kind;
  }
  auto stale = [&p, &state](StateGroup group) {
    if (p.seen[group] == state.versions[group]) return false;
    p.seen[group] = state.versions[group];
    return true;
  };
  if (stale(GroupTransform)) {
    glUniformMatrix4fv(p.world, 1, GL_FALSE, state.world);
    glUniformMatrix4fv(p.view, 1, GL_FALSE, state.view);
    glUniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, state.normalMatrix);
    glUniform3fv(p.eye, 1, state.eye);
    glUniformMatrix4fv(p.projection, 1, GL_FALSE, state.projection);
    glUniform4fv(p.screen, 1, state.screen);
    glUniform1f(p.flipY, state.flipY);
  }
  if (stale(GroupMaterial)) {
    glUniform4fv(p.material, 4, &state.material[0][0]);
    glUniform1f(p.power, state.power);
  }
  if (stale(GroupLights)) {
    glUniform3fv(p.ambient, 1, state.ambient);
    glUniform1i(p.lightCount, state.lightCount);
    glUniform4fv(p.lightPosition, kLightSlots, &state.lightPosition[0][0]);
    glUniform4fv(p.lightDirection, kLightSlots, &state.lightDirection[0][0]);
    glUniform4fv(p.lightColour, kLightSlots, &state.lightColour[0][0]);
    glUniform4fv(p.lightShape, kLightSlots, &state.lightShape[0][0]);
  }
  if (stale(GroupSurface)) {
    glUniform2fv(p.fog, 1, state.fog);
    glUniform4iv(p.stage, 1, state.stage);
    glUniform4fv(p.fogColour, 1, state.fogColour);
    glUniform1i(p.texture, 0);
  }
}
