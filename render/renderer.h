// The drawing interface every subsystem reaches through CurrentRenderer, its vertex layouts and the process-wide values
// around it.
//
// Records that the renderer must know (View, Material, Light, Texture, Patch) carry one field
// the renderer owns: a record calls the Create operation at the end of its constructor, the
// Update operation after each change and the Release operation first thing in its destructor.
// Colours cross this interface as 0xAARRGGBB words. Matrices are 16 floats, row-major, row
// vectors, translation in the fourth row; the renderer forces their last column to (0,0,0,1).
#pragma once

#include <cstddef>
#include <cstdint>

class View;
class Material;
class Light;
class Texture;
struct Patch;

// Direct3D primitive type numbers; the OpenGL back end maps them to its own.
enum PrimitiveKind : int32_t {
  PrimitivePointList = 1,
  PrimitiveLineList = 2,
  PrimitiveLineStrip = 3,
  PrimitiveTriangleList = 4,
  PrimitiveTriangleStrip = 5,
  PrimitiveTriangleFan = 6,
};

enum RendererKind : int32_t {
  RendererNone = 0,
  RendererD3D7 = 1,
  RendererGL = 3,
  RendererGLES = 4,
};

enum ClearFlags : uint32_t {
  ClearColor = 2,
  ClearDepth = 4,
};

// Vertex of DrawPrimitive and of lit patches (D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2).
struct LitVertex {
  float x, y, z;
  float nx, ny, nz;
  float tu1, tv1;
  float tu2, tv2;
};
static_assert(sizeof(LitVertex) == 40);
static_assert(offsetof(LitVertex, nx) == 12 && offsetof(LitVertex, tu1) == 24 && offsetof(LitVertex, tu2) == 32);

// Vertex of Draw2D and DrawTextured2D (D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2).
struct ScreenVertex {
  float x, y;
  float z;
  float rhw;
  uint32_t diffuse;
  uint32_t specular;
  float tu1, tv1;
  float tu2, tv2;
};
static_assert(sizeof(ScreenVertex) == 40);
static_assert(offsetof(ScreenVertex, diffuse) == 16 && offsetof(ScreenVertex, tu1) == 24 &&
              offsetof(ScreenVertex, tu2) == 32);

// Laid out as D3DVIEWPORT7; built by CreateView in both back ends.
struct ViewportData {
  uint32_t x, y, width, height;
  float minZ, maxZ;
};
static_assert(sizeof(ViewportData) == 24);

// Laid out as D3DMATERIAL7: colours as red, green, blue, alpha floats.
struct MaterialData {
  float diffuse[4];
  float ambient[4];
  float specular[4];
  float emissive[4];
  float power;
};
static_assert(sizeof(MaterialData) == 68);

// A patch in the device's vertex format, as the Direct3D 7 back end builds it for each Patch and
// as the skinned character hands it over ready-made in its Patch's first renderer word.
struct PatchData {
  uint32_t vertexFormat;  // Direct3D flexible vertex format code
  uint32_t stride;        // bytes per vertex
  uint32_t vertexCount;
  uint32_t indexCount;
  void* vertices;     // vertexCount x stride bytes
  uint16_t* indices;  // indexCount indices, each below vertexCount
};

// The table order is fixed: the reserved slots keep every other operation at its slot number.
class Renderer {
 public:
  virtual ~Renderer() = default;

  // clang-format off: one operation a line, its slot number aligned on the right.
  virtual bool IsReady() = 0;  // 0
  virtual bool Init(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t depthBits, bool fullscreen,
                    void* instance, bool filtering) = 0;                                                     // 1
  virtual bool Shutdown() = 0;                                                                               // 2
  virtual void Reserved1(uint32_t) = 0;                                                                      // 3
  virtual void Reserved2(uint32_t) = 0;                                                                      // 4
  virtual void Reserved3(uint32_t) = 0;                                                                      // 5
  virtual void Reserved4(uint32_t) = 0;                                                                      // 6
  virtual void Reserved5(uint32_t) = 0;                                                                      // 7
  virtual void Reserved6(uint32_t) = 0;                                                                      // 8
  virtual void CreatePatch(Patch* patch) = 0;                                                                // 9
  virtual void ReleasePatch(Patch* patch) = 0;                                                               // 10
  virtual void CreateMaterial(Material* material) = 0;                                                       // 11
  virtual void UpdateMaterial(Material* material) = 0;                                                       // 12
  virtual void SetMaterial(Material* material) = 0;                                                          // 13
  virtual void ReleaseMaterial(Material* material) = 0;                                                      // 14
  virtual void CreateView(View* view) = 0;                                                                   // 15
  virtual void UpdateView(View* view) = 0;                                                                   // 16
  virtual void SetViewport(View* view) = 0;                                                                  // 17
  virtual void ReleaseView(View* view) = 0;                                                                  // 18
  virtual void SetProjection(View* view) = 0;                                                                // 19
  virtual void SetWorldMatrix(float* matrix) = 0;                                                            // 20
  virtual void LoadTexture(Texture* texture) = 0;                                                            // 21
  virtual void BindTexture(uint32_t stage, Texture* texture) = 0;                                            // 22
  virtual void Reserved7(uint32_t) = 0;                                                                      // 23
  virtual void ReleaseTexture(Texture* texture) = 0;                                                         // 24
  virtual void CreateLight(Light* light) = 0;                                                                // 25
  virtual void UpdateLight(Light* light) = 0;                                                                // 26
  virtual void ReleaseLight(Light* light) = 0;                                                               // 27
  virtual int32_t Present(uint32_t ignored) = 0;                                                             // 28
  virtual int32_t Clear(uint32_t flags, uint32_t colour, float depth) = 0;                                   // 29
  virtual int32_t CopyToTexture(Texture* texture, int32_t x, int32_t y, int32_t width, int32_t height) = 0;  // 30
  virtual void SetRenderTarget(Texture* texture, View* view) = 0;                                            // 31
  virtual uint32_t MakeColor(uint32_t red, uint32_t green, uint32_t blue,
                             uint32_t alpha) = 0;       // 32
  virtual int32_t SetClipping(int32_t visibility) = 0;  // 33
  virtual int32_t SetFog(bool enable, float start, float end, float density,
                         uint32_t colour) = 0;               // 34
  virtual int32_t SetDepthState(bool write, bool test) = 0;  // 35
  virtual int32_t BeginScene() = 0;                          // 36
  virtual int32_t DrawPatch(Patch* patch) = 0;               // 37
  virtual void BeginView(View* view) = 0;                    // 38
  virtual int32_t DrawPrimitive(PrimitiveKind kind, LitVertex* vertices, uint32_t count,
                                Material* material) = 0;  // 39
  virtual void EndView() = 0;                             // 40
  virtual void Begin2D(View* view) = 0;                   // 41
  virtual int32_t DrawTextured2D(PrimitiveKind kind, ScreenVertex* vertices, uint32_t count,
                                 Texture* texture) = 0;  // 42
  virtual int32_t Draw2D(PrimitiveKind kind, ScreenVertex* vertices, uint32_t count,
                         Material* material) = 0;  // 43
  virtual void End2D() = 0;                        // 44
  virtual int32_t EndScene() = 0;                  // 45
  // clang-format on
};

extern Renderer* CurrentRenderer;
extern int32_t CurrentRendererKind;
extern View* CurrentView;

// Kind 1 builds the Direct3D 7 back end, kind 3 the OpenGL one, kind 4 the shader one; any other
// kind returns null and changes nothing. Construction does no device work: Init opens the display.
Renderer* CreateRenderer(int32_t kind);
// Destroys the current renderer of CurrentRendererKind, then clears both values.
void DestroyRenderer();
