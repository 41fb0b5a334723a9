// The OpenGL back end's GL calls, recorded through a GL table of its own: clears, materials, lights, patches, textures.
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
#include "tools/content/bmp_writer.h"

namespace {

std::vector<std::string> g_calls;
GLuint g_lastName;

std::string Arg(unsigned int v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", v);
  return text;
}
std::string Arg(int v) { return std::to_string(v); }
std::string Arg(unsigned char v) { return std::to_string(v); }
std::string Arg(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}
std::string Arg(const void* p) { return p ? "ptr" : "null"; }

template <typename... A>
void Log(const char* name, A... args) {
  std::string line = name;
  line += "(";
  bool first = true;
  ((line += (first ? "" : ", ") + Arg(args), first = false), ...);
  g_calls.push_back(line + ")");
}

template <const char* Name, typename R, typename... A>
R APIENTRY Recorded(A... args) {
  Log(Name, args...);
  if constexpr (!std::is_void_v<R>) return R{};
}

#define QZ2_GL_NAME(ret, name, ...) constexpr char k##name[] = #name;
QZ2_GL_ENTRY_POINTS(QZ2_GL_NAME)
#undef QZ2_GL_NAME

// Calls whose arrays matter are written with their values.
void APIENTRY RecordLightfv(GLenum light, GLenum pname, const GLfloat* v) {
  int n = pname == GL_SPOT_DIRECTION ? 3 : 4;
  std::string line = "Lightfv(" + Arg(light) + ", " + Arg(pname);
  for (int i = 0; i < n; ++i) line += ", " + Arg(static_cast<double>(v[i]));
  g_calls.push_back(line + ")");
}
void APIENTRY RecordLightModelfv(GLenum pname, const GLfloat* v) {
  Log("LightModelfv", pname, static_cast<double>(v[0]), static_cast<double>(v[1]), static_cast<double>(v[2]));
}
void APIENTRY RecordGenTextures(GLsizei n, GLuint* names) {
  for (GLsizei i = 0; i < n; ++i) names[i] = ++g_lastName;
  Log("GenTextures", n);
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

  std::vector<std::string> CallsTo(const std::string& name) const {
    std::vector<std::string> found;
    for (const std::string& c : g_calls) {
      if (c.compare(0, name.size() + 1, name + "(") == 0) found.push_back(c);
    }
    return found;
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

using Calls = std::vector<std::string>;

TEST_F(GlCalls, ClearIssuesOneGlClearPerBufferSetAsked) {
  renderer_.Clear(ClearColor | ClearDepth, 0xFF336699, 1.0f);
  EXPECT_EQ(CallsTo("Clear"), Calls{"Clear(0x4100)"});
  EXPECT_EQ(CallsTo("ClearColor"), Calls{"ClearColor(0.2, 0.4, 0.6, 1)"});
  g_calls.clear();
  renderer_.Clear(ClearColor, 0, 1.0f);
  EXPECT_EQ(CallsTo("Clear"), Calls{"Clear(0x4000)"});
  EXPECT_TRUE(CallsTo("ClearDepth").empty());
  g_calls.clear();
  renderer_.Clear(ClearDepth, 0, 0.5f);
  EXPECT_EQ(g_calls, (Calls{"ClearDepth(0.5)", "Clear(0x100)"}));
}

TEST_F(GlCalls, SetMaterialAppliesAMaterialOnceUntilForgotten) {
  Material* material = new Material("Plain", &world_);
  material->SetDiffuse(255, 0, 0, 255);
  g_calls.clear();
  renderer_.SetMaterial(material);
  size_t applied = g_calls.size();
  EXPECT_EQ(CallsTo("Materialfv").size(), 4u);
  EXPECT_EQ(CallsTo("Disable").back(), "Disable(0xDE1)");  // no textures: texturing off
  renderer_.SetMaterial(material);
  EXPECT_EQ(g_calls.size(), applied);
  renderer_.SetMaterial(nullptr);
  EXPECT_EQ(g_calls.size(), applied);
  renderer_.SetMaterial(material);
  EXPECT_EQ(CallsTo("Materialfv").size(), 8u);
}

TEST_F(GlCalls, ReleasedCurrentMaterialIsForgotten) {
  Material* first = new Material("First", &world_);
  renderer_.SetMaterial(first);
  first->Destroy();
  delete first;
  // A new material may take the released one's address; it must still be applied.
  Material* second = new Material("Second", &world_);
  g_calls.clear();
  renderer_.SetMaterial(second);
  EXPECT_EQ(CallsTo("Materialfv").size(), 4u);
}

TEST_F(GlCalls, MaterialModeAboveFourLeavesThePreviousBlendInForce) {
  Material* additive = new Material("Additive", &world_);
  additive->SetMode(1);
  Material* unknown = new Material("Unknown", &world_);
  unknown->SetMode(7);
  renderer_.SetMaterial(additive);
  EXPECT_EQ(CallsTo("BlendFunc"), Calls{"BlendFunc(0x1, 0x1)"});
  g_calls.clear();
  renderer_.SetMaterial(unknown);
  EXPECT_TRUE(CallsTo("BlendFunc").empty());
  EXPECT_TRUE(CallsTo("TexEnvi").empty());
  EXPECT_TRUE(std::none_of(g_calls.begin(), g_calls.end(), [](const std::string& c) { return c == "Disable(0xBE2)"; }));
}

TEST_F(GlCalls, EightLightsTakeTheEightSlotsAndAReleasedSlotIsReused) {
  std::vector<Light*> lights;
  for (int i = 0; i < 8; ++i) lights.push_back(NewLight(LightOmni));
  EXPECT_EQ(CallsTo("Enable"), (Calls{"Enable(0x4000)", "Enable(0x4001)", "Enable(0x4002)", "Enable(0x4003)",
                                      "Enable(0x4004)", "Enable(0x4005)", "Enable(0x4006)", "Enable(0x4007)"}));
  g_calls.clear();
  lights[2]->Destroy();
  delete lights[2];
  EXPECT_EQ(CallsTo("Disable"), Calls{"Disable(0x4002)"});
  g_calls.clear();
  NewLight(LightSpot);
  EXPECT_EQ(CallsTo("Enable"), Calls{"Enable(0x4002)"});
  // A ninth light finds no slot and is left out.
  g_calls.clear();
  NewLight(LightOmni);
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(GlCalls, AmbientLightOnlySetsTheModelAmbientAndTakesNoSlot) {
  Light* ambient = new Light("Ambient", LightAmbient, &world_);
  g_calls.clear();
  ambient->SetColour(51, 102, 153);
  EXPECT_EQ(g_calls, Calls{"LightModelfv(0xB53, 0.2, 0.4, 0.6)"});
  g_calls.clear();
  ambient->Destroy();
  delete ambient;
  EXPECT_TRUE(g_calls.empty());
  NewLight(LightOmni);
  EXPECT_EQ(CallsTo("Enable"), Calls{"Enable(0x4000)"});
}

TEST_F(GlCalls, LightsAreSentAsTheDirect3DBackEndSendsThem) {
  Light* omni = NewLight(LightOmni);
  g_calls.clear();
  omni->SetRange(0);
  // Colour bytes as they are, not divided by 255; unlimited range: constant attenuation.
  EXPECT_EQ(CallsTo("Lightfv")[1], "Lightfv(0x4000, 0x1201, 10, 20, 30, 0)");
  EXPECT_EQ(CallsTo("Lightf")[0], "Lightf(0x4000, 0x1207, 1)");
  EXPECT_EQ(CallsTo("Lightf")[1], "Lightf(0x4000, 0x1208, 0)");
  EXPECT_EQ(CallsTo("Lightf")[3], "Lightf(0x4000, 0x1206, 180)");
  g_calls.clear();
  omni->SetRange(100);
  EXPECT_EQ(CallsTo("Lightf")[0], "Lightf(0x4000, 0x1207, 0)");
  EXPECT_EQ(CallsTo("Lightf")[1], "Lightf(0x4000, 0x1208, 1)");

  Light* spot = NewLight(LightSpot);
  spot->SetDirection(0, 0, 1);
  g_calls.clear();
  spot->SetCone(0.5f, 1.0f);
  // Cut off at half the outer angle (in degrees); half the light midway through the fade.
  EXPECT_EQ(CallsTo("Lightf")[3], "Lightf(0x4001, 0x1206, 28.6479)");
  EXPECT_EQ(CallsTo("Lightf")[4], "Lightf(0x4001, 0x1205, 9.6237)");
  EXPECT_EQ(CallsTo("Lightfv")[4], "Lightfv(0x4001, 0x1204, 0, 0, 1)");

  Light* sun = NewLight(LightDirectional);
  g_calls.clear();
  sun->SetDirection(0, -1, 0);
  // GL's directional light is placed towards where the light comes from.
  EXPECT_EQ(CallsTo("Lightfv")[3], "Lightfv(0x4002, 0x1203, -0, 1, -0, 0)");
}

TEST_F(GlCalls, ColouredPatchSwitchesLightingOffUntilTheNextLitPatch) {
  PatchVertexLit lit[3] = {};
  PatchVertexColoured coloured[3] = {};
  uint16_t indices[3] = {0, 1, 2};
  Patch litPatch = {PatchLit, nullptr, 3, 3, lit, indices, {}};
  Patch colouredPatch = {PatchColoured, nullptr, 3, 3, coloured, indices, {}};
  renderer_.CreatePatch(&litPatch);
  renderer_.CreatePatch(&colouredPatch);
  g_calls.clear();
  renderer_.DrawPatch(&colouredPatch);
  LitVertex line[2] = {};
  renderer_.DrawPrimitive(PrimitiveLineList, line, 2, nullptr);
  renderer_.DrawPatch(&litPatch);
  EXPECT_EQ(CallsTo("Disable")[0], "Disable(0xB50)");
  EXPECT_EQ(CallsTo("Enable")[0], "Enable(0xB50)");
  auto enabled = std::find(g_calls.begin(), g_calls.end(), "Enable(0xB50)");
  auto lineDrawn = std::find(g_calls.begin(), g_calls.end(), "Begin(0x1)");
  EXPECT_LT(lineDrawn, enabled);
  EXPECT_EQ(CallsTo("DrawElements"), Calls{"DrawElements(0x4, 3, 0x1403, ptr)"});
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

TEST_F(GlCalls, FileTextureTakesItsImageSizeAndAMissingFileIsFatal) {
  Texture* target = new Texture("Target", TextureRenderTarget, 64, 64, 0, nullptr, 0, &world_);
  EXPECT_EQ(target->rendererData, 0u);

  std::string path = ::testing::TempDir() + "font.bmp";
  std::vector<uint8_t> rgb(5 * 3 * 3, 0x80);
  ASSERT_TRUE(WriteBmpFile(path.c_str(), EncodeBmp24(5, 3, rgb.data())));
  Texture* font = new Texture(path.c_str(), 0, 1, &world_);
  EXPECT_EQ(font->width, 5);
  EXPECT_EQ(font->height, 3);
  EXPECT_EQ(font->scaleV, 1.0f);
  EXPECT_NE(font->rendererData, 0u);
  EXPECT_EQ(CallsTo("TexImage2D").back(), "TexImage2D(0xDE1, 0, 6408, 5, 3, 0, 0x1908, 0x1401, ptr)");  // keyed: RGBA

  std::remove(path.c_str());
  EXPECT_THROW(renderer_.LoadTexture(font), FakeExit);
  ASSERT_FALSE(platform_->boxes.empty());
  EXPECT_EQ(platform_->boxes.back().text, "Texture BMP File not found (" + path + ")");
}

}  // namespace
