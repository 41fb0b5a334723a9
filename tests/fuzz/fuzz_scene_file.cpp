// Fuzz target: a .qz3 scene read into a World and played a few frames by the OpenGL back end, as the
// driver plays it, over a GL table that does nothing but name textures.
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "platform/fake/fake_platform.h"
#include "render/gl/gl_api.h"
#include "render/gl/gl_renderer.h"
#include "scene/scene_file.h"
#include "scene/texture.h"
#include "scene/view.h"
#include "scene/world.h"

namespace {

template <typename R, typename... A>
R APIENTRY Nothing(A...) {
  if constexpr (!std::is_void_v<R>) return R{};
}

void APIENTRY NameTextures(GLsizei n, GLuint* names) {
  static GLuint last = 0;
  for (GLsizei i = 0; i < n; ++i) names[i] = ++last;
}

const GlApi& NoGl() {
  static const GlApi api = [] {
    GlApi a = {};
#define QZ2_GL_NOTHING(ret, name, ...) a.name = &Nothing<ret __VA_OPT__(, ) __VA_ARGS__>;
    QZ2_GL_ENTRY_POINTS(QZ2_GL_NOTHING)
#undef QZ2_GL_NOTHING
    a.GenTextures = NameTextures;
    return a;
  }();
  return api;
}

// A scene texture of the image-file kind has no file name, so the back end ends the program from inside
// the Texture's constructor. Here that end is a throw, which the constructor cannot survive: the pixel
// block it was handed would leak. The report itself is covered by the GL suite; the harness skips it.
class FuzzGlRenderer : public GLRenderer {
 public:
  FuzzGlRenderer() : GLRenderer(NoGl()) {}
  void LoadTexture(Texture* texture) override {
    if (texture->source != TextureImageFile || texture->fileName) GLRenderer::LoadTexture(texture);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ScopedFakePlatform sys;
  FuzzGlRenderer renderer;
  CurrentRenderer = &renderer;
  World world("World1");
  View* view = new View("View1", 0.0f, 0.0f, 1.0f, 640.0f, 480.0f, 500.0f, 1, &world);
  try {
    LoadScene("fuzz.qz3", data, size, &world);
    view->SetCamera(world.cameras);
    world.SetView(view);
    // Times before, inside and far past any track, the last one past every key.
    for (float t : {-1.0f, 0.0f, 0.37f, 2.5f, 1e6f}) world.AnimateWorld(t);
  } catch (const FakeExit&) {
    // A fatal report: the program would end here; the World is torn down as for any scene.
  }
  view->Destroy();
  delete view;
  world.Destroy();
  CurrentRenderer = nullptr;
  CurrentView = nullptr;
  return 0;
}
