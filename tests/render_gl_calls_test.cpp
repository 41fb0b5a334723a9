// The OpenGL back end's GL calls where pixels cannot tell: state it skips or keeps, light parameters, refused patches.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "render/gl/gl_api.h"
#include "render/gl/gl_renderer.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "scene/texture.h"
#include "scene/world.h"

namespace {

std::vector<std::string> g_calls;
GLuint g_lastName;

// Every argument as a number (pointers as "ptr" or "null"), so that tests write their calls with GL's names.
template <typename T>
std::string Arg(T v) {
  if constexpr (std::is_pointer_v<T>) {
    return v ? "ptr" : "null";
  } else if constexpr (std::is_floating_point_v<T>) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
    return text;
  } else {
    return std::to_string(static_cast<long long>(v));
  }
}

template <typename... A>
std::string Call(const char* name, A... args) {
  std::string line = std::string(name) + "(";
  bool first = true;
  ((line += (first ? "" : ", ") + Arg(args), first = false), ...);
  return line + ")";
}

template <const char* Name, typename R, typename... A>
R APIENTRY Recorded(A... args) {
  g_calls.push_back(Call(Name, args...));
  if constexpr (!std::is_void_v<R>) return R{};
}

#define QZ2_GL_NAME(ret, name, ...) constexpr char k##name[] = #name;
QZ2_GL_ENTRY_POINTS(QZ2_GL_NAME)
#undef QZ2_GL_NAME

// Calls whose arrays matter are written with their values.
void APIENTRY RecordLightfv(GLenum light, GLenum pname, const GLfloat* v) {
  std::string line = Call("Lightfv", light, pname);
  line.pop_back();
  for (int i = 0; i < (pname == GL_SPOT_DIRECTION ? 3 : 4); ++i) line += ", " + Arg(v[i]);
  g_calls.push_back(line + ")");
}
void APIENTRY RecordLightModelfv(GLenum pname, const GLfloat* v) {
  g_calls.push_back(Call("LightModelfv", pname, v[0], v[1], v[2]));
}
void APIENTRY RecordGenTextures(GLsizei n, GLuint* names) {
  for (GLsizei i = 0; i < n; ++i) names[i] = ++g_lastName;
  g_calls.push_back(Call("GenTextures", n));
}

const GlApi& RecordingGl() {
  static const GlApi api = [] {
    GlApi a = {};
#define QZ2_GL_RECORD(ret, name, ...) a.name = &Recorded<k##name, ret __VA_OPT__(, ) __VA_ARGS__>;
    QZ2_GL_ENTRY_POINTS(QZ2_GL_RECORD)
#undef QZ2_GL_RECORD
    a.Lightfv = RecordLightfv;
    a.LightModelfv = RecordLightModelfv;
    a.GenTextures = RecordGenTextures;
    return a;
  }();
  return api;
}

using Calls = std::vector<std::string>;

Calls CallsTo(const std::string& name) {
  Calls found;
  for (const std::string& c : g_calls) {
    if (c.compare(0, name.size() + 1, name + "(") == 0) found.push_back(c);
  }
  return found;
}

// Whether the last glEnable or glDisable of cap left it on.
bool Enabled(GLenum cap) {
  bool on = false;
  for (const std::string& c : g_calls) {
    if (c == Call("Enable", cap)) on = true;
    if (c == Call("Disable", cap)) on = false;
  }
  return on;
}

// The values of the last call of name for this light and parameter.
std::string LastValues(const char* name, GLenum light, GLenum pname) {
  std::string prefix = Call(name, light, pname);
  prefix.back() = ',';
  std::string found;
  for (const std::string& c : g_calls) {
    if (c.compare(0, prefix.size(), prefix) == 0) found = c.substr(prefix.size() + 1, c.size() - prefix.size() - 2);
  }
  return found;
}

class GlCalls : public ::testing::Test {
 protected:
  GlCalls() : renderer_(RecordingGl()) {
    CurrentRenderer = &renderer_;
    CurrentRendererKind = RendererGL;
    g_calls.clear();
  }
  ~GlCalls() override {
    world_.Destroy();
    CurrentRenderer = nullptr;
    CurrentRendererKind = RendererNone;
  }

  Light* NewLight(uint32_t type) {
    Light* light = new Light("Light", type, &world_);
    light->SetColour(10, 20, 30);
    return light;
  }

  ScopedFakePlatform platform_;
  GLRenderer renderer_;
  World world_{"World1"};
};

TEST_F(GlCalls, SetMaterialAppliesAMaterialOnlyWhenItChanges) {
  Material* material = new Material("Plain", &world_);
  auto applied = [] { return CallsTo("Materialfv").size(); };
  renderer_.SetMaterial(material);
  EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), Call("Disable", GL_TEXTURE_2D)), 1) << "no textures: texturing off";
  renderer_.SetMaterial(material);
  renderer_.SetMaterial(nullptr);
  EXPECT_EQ(applied(), 4u);
  renderer_.SetMaterial(material);
  EXPECT_EQ(applied(), 8u) << "null forgets the current material";
  // A new material may take the released one's address; it must still be applied.
  material->Destroy();
  delete material;
  renderer_.SetMaterial(new Material("Second", &world_));
  EXPECT_EQ(applied(), 12u);
}

TEST_F(GlCalls, LightsTakeTheLowestFreeOfEightSlotsAndAmbientTakesNone) {
  Light* ambient = new Light("Ambient", LightAmbient, &world_);
  ambient->SetColour(51, 102, 153);
  EXPECT_EQ(CallsTo("LightModelfv").back(), Call("LightModelfv", GL_LIGHT_MODEL_AMBIENT, 0.2, 0.4, 0.6));
  std::vector<Light*> lights;
  for (int i = 0; i < 8; ++i) lights.push_back(NewLight(LightOmni));
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(Enabled(GL_LIGHT0 + i)) << i;
  lights[2]->Destroy();
  delete lights[2];
  EXPECT_FALSE(Enabled(GL_LIGHT2));
  NewLight(LightSpot);
  EXPECT_TRUE(Enabled(GL_LIGHT2));
  // A ninth light finds no slot and is left out.
  g_calls.clear();
  NewLight(LightOmni);
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(GlCalls, LightsAreSentAsTheDirect3DBackEndSendsThem) {
  Light* omni = NewLight(LightOmni);
  omni->SetRange(0);
  // Colour bytes as they are, not divided by 255; unlimited range: constant attenuation.
  EXPECT_EQ(LastValues("Lightfv", GL_LIGHT0, GL_DIFFUSE), "10, 20, 30, 0");
  EXPECT_EQ(LastValues("Lightf", GL_LIGHT0, GL_CONSTANT_ATTENUATION), "1");
  EXPECT_EQ(LastValues("Lightf", GL_LIGHT0, GL_LINEAR_ATTENUATION), "0");
  EXPECT_EQ(LastValues("Lightf", GL_LIGHT0, GL_SPOT_CUTOFF), "180");
  omni->SetRange(100);
  EXPECT_EQ(LastValues("Lightf", GL_LIGHT0, GL_CONSTANT_ATTENUATION), "0");
  EXPECT_EQ(LastValues("Lightf", GL_LIGHT0, GL_LINEAR_ATTENUATION), "1");

  Light* spot = NewLight(LightSpot);
  spot->SetDirection(0, 0, 1);
  spot->SetCone(0.5f, 1.0f);
  // Cut off at half the outer angle (in degrees); half the light midway through the fade.
  EXPECT_EQ(LastValues("Lightf", GL_LIGHT1, GL_SPOT_CUTOFF), "28.6479");
  EXPECT_EQ(LastValues("Lightf", GL_LIGHT1, GL_SPOT_EXPONENT), "9.6237");
  EXPECT_EQ(LastValues("Lightfv", GL_LIGHT1, GL_SPOT_DIRECTION), "0, 0, 1");

  Light* sun = NewLight(LightDirectional);
  sun->SetDirection(0, -1, 0);
  // GL's directional light is placed towards where the light comes from.
  EXPECT_EQ(LastValues("Lightfv", GL_LIGHT2, GL_POSITION), "-0, 1, -0, 0");
}

TEST_F(GlCalls, ColouredPatchSwitchesLightingOffUntilTheNextLitPatch) {
  PatchVertexLit lit[3] = {};
  PatchVertexColoured coloured[3] = {};
  uint16_t indices[3] = {0, 1, 2};
  Patch litPatch = {PatchLit, nullptr, 3, 3, lit, indices, {}};
  Patch colouredPatch = {PatchColoured, nullptr, 3, 3, coloured, indices, {}};
  renderer_.CreatePatch(&litPatch);
  renderer_.CreatePatch(&colouredPatch);
  renderer_.DrawPatch(&colouredPatch);
  EXPECT_FALSE(Enabled(GL_LIGHTING));
  LitVertex line[2] = {};
  renderer_.DrawPrimitive(PrimitiveLineList, line, 2, nullptr);
  EXPECT_FALSE(Enabled(GL_LIGHTING));
  renderer_.DrawPatch(&litPatch);
  EXPECT_TRUE(Enabled(GL_LIGHTING));
}

TEST_F(GlCalls, PatchWithAnIndexPastItsVerticesIsNeverDrawn) {
  PatchVertexLit lit[3] = {};
  uint16_t indices[3] = {0, 1, 3};
  Patch patch = {PatchLit, nullptr, 3, 3, lit, indices, {}};
  renderer_.CreatePatch(&patch);
  PatchData data = {0x112, 32, 3, 3, lit, indices};
  Patch character = {PatchLit, nullptr, 0, 0, nullptr, nullptr, {reinterpret_cast<uintptr_t>(&data), 0}};
  g_calls.clear();
  renderer_.DrawPatch(&patch);
  renderer_.DrawPatch(&character);
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(GlCalls, RenderTargetGetsNoImageAndAMissingFileIsFatal) {
  Texture* target = new Texture("Target", TextureRenderTarget, 64, 64, 0, nullptr, 0, &world_);
  EXPECT_EQ(target->rendererData, 0u);
  std::string path = ::testing::TempDir() + "nonexistent/font.bmp";
  EXPECT_THROW(new Texture(path.c_str(), 0, 1, &world_), FakeExit);
  ASSERT_FALSE(platform_->boxes.empty());
  EXPECT_EQ(platform_->boxes.back().text, "Texture BMP File not found (" + path + ")");
}

}  // namespace
