// The WebGL 2 context of the page's canvas, standing for OpenGL ES 3.0.
#include <emscripten.h>
#include <emscripten/html5.h>

#include "platform/gl_context.h"

struct GlContext {
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle;
};

namespace {

constexpr const char* kCanvas = "#canvas";
GlContext g_context;
GlProfile g_profile = GlProfile::Compatibility;

// Counted for the page: it knows when a first frame is up, and how fast they come.
EM_JS(void, PageFrameShown, (), { Module["qz2FramesShown"] = (Module["qz2FramesShown"] || 0) + 1; });

}  // namespace

void GlContext_PrepareWindow(GlProfile profile) { g_profile = profile; }

// The drawing buffer is kept between frames, so that the page can read the picture at any time.
GlContext* GlContext_Create(void*) {
  if (g_context.handle > 0 || g_profile != GlProfile::Es3) return nullptr;
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.majorVersion = 2;
  attributes.minorVersion = 0;
  attributes.alpha = EM_FALSE;
  attributes.depth = EM_TRUE;
  attributes.antialias = EM_FALSE;
  attributes.preserveDrawingBuffer = EM_TRUE;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle = emscripten_webgl_create_context(kCanvas, &attributes);
  if (handle <= 0) return nullptr;
  if (emscripten_webgl_make_context_current(handle) != EMSCRIPTEN_RESULT_SUCCESS) {
    emscripten_webgl_destroy_context(handle);
    return nullptr;
  }
  g_context.handle = handle;
  return &g_context;
}

void GlContext_DrawableSize(GlContext*, int32_t* width, int32_t* height) {
  int w = 0, h = 0;
  emscripten_get_canvas_element_size(kCanvas, &w, &h);
  *width = w;
  *height = h;
}

// The browser shows the frame once the program yields to it.
void GlContext_Swap(GlContext*) { PageFrameShown(); }

void GlContext_Destroy(GlContext* context) {
  emscripten_webgl_destroy_context(context->handle);
  *context = {};
}
