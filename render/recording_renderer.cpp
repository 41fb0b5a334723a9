// A renderer that draws nothing and logs every call with its arguments, for tests and qz2-tool.
#include "render/recording_renderer.h"

#include <cstdarg>
#include <cstdio>

#include "core/allocate.h"
#include "render/bmp_file.h"
#include "render/record_data.h"
#include "scene/camera.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "scene/texture.h"
#include "scene/view.h"

namespace {

const char* Ptr(const void* p) { return p ? "ptr" : "null"; }

struct RecordedLight {
  int32_t slot;
};

}  // namespace

RecordingRenderer::RecordingRenderer(std::vector<std::string>* log) : calls(log ? *log : ownLog_) {}

// Like the real back ends, the destructor shuts down only an initialised renderer.
RecordingRenderer::~RecordingRenderer() {
  if (initialised) Shutdown();
}

void RecordingRenderer::Log(const char* format, ...) {
  if (!logCalls) return;
  char line[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  calls.emplace_back(line);
}

std::vector<std::string> RecordingRenderer::CallsTo(const std::string& op) const {
  std::vector<std::string> out;
  for (const std::string& c : calls) {
    if (c.compare(0, op.size(), op) == 0 && c.size() > op.size() && c[op.size()] == '(') out.push_back(c);
  }
  return out;
}

bool RecordingRenderer::IsReady() {
  Log("IsReady()");
  return ready;
}

bool RecordingRenderer::Init(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t depthBits, bool fullscreen,
                             void* instance, bool filtering) {
  Log("Init(%d, %d, %d, %d, %d, %s, %d)", width, height, bitsPerPixel, depthBits, fullscreen, Ptr(instance), filtering);
  initialised = initResult;
  return initResult;
}

bool RecordingRenderer::Shutdown() {
  Log("Shutdown()");
  initialised = false;
  return true;
}

void RecordingRenderer::Reserved1(uint32_t v) { Log("Reserved1(%u)", v); }
void RecordingRenderer::Reserved2(uint32_t v) { Log("Reserved2(%u)", v); }
void RecordingRenderer::Reserved3(uint32_t v) { Log("Reserved3(%u)", v); }
void RecordingRenderer::Reserved4(uint32_t v) { Log("Reserved4(%u)", v); }
void RecordingRenderer::Reserved5(uint32_t v) { Log("Reserved5(%u)", v); }
void RecordingRenderer::Reserved6(uint32_t v) { Log("Reserved6(%u)", v); }
void RecordingRenderer::CreatePatch(Patch* p) {
  Log("CreatePatch(%s)", Ptr(p));
  p->rendererWords[0] = 1;
}
void RecordingRenderer::ReleasePatch(Patch* p) {
  Log("ReleasePatch(%s)", Ptr(p));
  p->rendererWords[0] = 0;
}
void RecordingRenderer::CreateMaterial(Material* m) {
  Log("CreateMaterial(%s)", Ptr(m));
  if (MaterialData* data = CreateMaterialData(m)) FillMaterialData(*m, *data);
}
void RecordingRenderer::UpdateMaterial(Material* m) {
  Log("UpdateMaterial(%s)", Ptr(m));
  if (m->rendererData) FillMaterialData(*m, *m->rendererData);
}
void RecordingRenderer::SetMaterial(Material* m) { Log("SetMaterial(%s)", Ptr(m)); }
void RecordingRenderer::ReleaseMaterial(Material* m) {
  Log("ReleaseMaterial(%s)", Ptr(m));
  ReleaseMaterialData(m);
}
void RecordingRenderer::CreateView(View* v) {
  Log("CreateView(%s)", Ptr(v));
  CreateViewportData(v);
}
void RecordingRenderer::UpdateView(View* v) {
  Log("UpdateView(%s)", Ptr(v));
  if (v->viewport) FillViewportData(*v, *v->viewport);
}
void RecordingRenderer::SetViewport(View* v) { Log("SetViewport(%s)", Ptr(v)); }
void RecordingRenderer::ReleaseView(View* v) {
  Log("ReleaseView(%s)", Ptr(v));
  ReleaseViewportData(v);
}
void RecordingRenderer::SetProjection(View* v) {
  Log("SetProjection(%s)", Ptr(v));
  if (!v || !v->camera) return;
  ForceAffineColumn(v->camera->viewMatrix);
}

void RecordingRenderer::SetWorldMatrix(float* m) {
  ForceAffineColumn(m);
  Log("SetWorldMatrix(%.9g, %.9g, %.9g)", m[12], m[13], m[14]);
}

void RecordingRenderer::LoadTexture(Texture* t) {
  Log("LoadTexture(%s)", Ptr(t));
  t->scaleU = t->scaleV = 1.0f;
  if (t->source == TextureImageFile && t->fileName) {
    // The same reader as the real back ends, so both accept and refuse the same files.
    BmpImage image;
    LoadTextureImage(t->fileName, &image);
    t->width = static_cast<uint16_t>(image.width);
    t->height = static_cast<uint16_t>(image.height);
  }
}
void RecordingRenderer::BindTexture(uint32_t stage, Texture* t) { Log("BindTexture(%u, %s)", stage, Ptr(t)); }
void RecordingRenderer::Reserved7(uint32_t v) { Log("Reserved7(%u)", v); }
void RecordingRenderer::ReleaseTexture(Texture* t) {
  Log("ReleaseTexture(%s)", Ptr(t));
  t->rendererData = 0;
}
void RecordingRenderer::CreateLight(Light* l) {
  Log("CreateLight(%s)", Ptr(l));
  auto* data = static_cast<RecordedLight*>(Allocate(sizeof(RecordedLight), "RecLight"));
  if (data) data->slot = TakeLightSlot(lightSlots, *l);
  l->rendererData = data;
}
void RecordingRenderer::UpdateLight(Light* l) { Log("UpdateLight(%s)", Ptr(l)); }
void RecordingRenderer::ReleaseLight(Light* l) {
  Log("ReleaseLight(%s)", Ptr(l));
  if (auto* data = static_cast<RecordedLight*>(l->rendererData)) FreeLightSlot(lightSlots, data->slot);
  Release(l->rendererData);
  l->rendererData = nullptr;
}

int32_t RecordingRenderer::Present(uint32_t) {
  Log("Present()");
  return 0;
}

int32_t RecordingRenderer::Clear(uint32_t flags, uint32_t colour, float depth) {
  Log("Clear(%u, 0x%08X, %.9g)", flags, colour, depth);
  return 0;
}

int32_t RecordingRenderer::CopyToTexture(Texture* t, int32_t x, int32_t y, int32_t width, int32_t height) {
  Log("CopyToTexture(%s, %d, %d, %d, %d)", Ptr(t), x, y, width, height);
  return 0;
}

void RecordingRenderer::SetRenderTarget(Texture* t, View* v) { Log("SetRenderTarget(%s, %s)", Ptr(t), Ptr(v)); }

uint32_t RecordingRenderer::MakeColor(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha) {
  Log("MakeColor(%u, %u, %u, %u)", red, green, blue, alpha);
  return (alpha & 0xFF) << 24 | (red & 0xFF) << 16 | (green & 0xFF) << 8 | (blue & 0xFF);
}

int32_t RecordingRenderer::SetClipping(int32_t visibility) {
  Log("SetClipping(%d)", visibility);
  return 0;
}

int32_t RecordingRenderer::SetFog(bool enable, float start, float end, float density, uint32_t colour) {
  Log("SetFog(%d, %.9g, %.9g, %.9g, 0x%08X)", enable, start, end, density, colour);
  return 0;
}

int32_t RecordingRenderer::SetDepthState(bool write, bool test) {
  Log("SetDepthState(%d, %d)", write, test);
  return 0;
}

int32_t RecordingRenderer::BeginScene() {
  Log("BeginScene()");
  return 0;
}

int32_t RecordingRenderer::DrawPatch(Patch* p) {
  Log("DrawPatch(%s)", Ptr(p));
  return 0;
}

void RecordingRenderer::BeginView(View* v) {
  Log("BeginView(%s)", Ptr(v));
  CurrentView = v;
  if (applyViews && v) v->Apply();
}
int32_t RecordingRenderer::DrawPrimitive(PrimitiveKind kind, LitVertex*, uint32_t count, Material* m) {
  Log("DrawPrimitive(%d, %u, %s)", kind, count, Ptr(m));
  return 0;
}

void RecordingRenderer::EndView() {
  Log("EndView()");
  CurrentView = nullptr;
}

void RecordingRenderer::Begin2D(View* v) {
  Log("Begin2D(%s)", Ptr(v));
  CurrentView = v;
}

int32_t RecordingRenderer::DrawTextured2D(PrimitiveKind kind, ScreenVertex*, uint32_t count, Texture* t) {
  Log("DrawTextured2D(%d, %u, %s)", kind, count, Ptr(t));
  return 0;
}

int32_t RecordingRenderer::Draw2D(PrimitiveKind kind, ScreenVertex*, uint32_t count, Material* m) {
  Log("Draw2D(%d, %u, %s)", kind, count, Ptr(m));
  return 0;
}

void RecordingRenderer::End2D() {
  Log("End2D()");
  CurrentView = nullptr;
}

int32_t RecordingRenderer::EndScene() {
  Log("EndScene()");
  return 0;
}
