// The OpenGL context of pictures drawn off screen: EGL on Mesa's surfaceless platform, drawing into a pbuffer.
#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "platform/egl/offscreen_gl.h"
#include "platform/gl_context.h"

struct GlContext {
  EGLDisplay display;
  EGLSurface surface;
  EGLContext context;
  int32_t width;
  int32_t height;
};

namespace {

GlContext g_context;
GlProfile g_profile = GlProfile::Compatibility;
int32_t g_width = 800;
int32_t g_height = 600;

// The surfaceless platform needs no display server; without the extension, the default display is tried.
EGLDisplay OpenDisplay() {
  auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  EGLDisplay display = EGL_NO_DISPLAY;
  if (getPlatformDisplay) display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display == EGL_NO_DISPLAY) display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
  EGLint major, minor;
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) return EGL_NO_DISPLAY;
  return display;
}

}  // namespace

void OffscreenGl_SetSize(int32_t width, int32_t height) {
  g_width = width;
  g_height = height;
}

void GlContext_PrepareWindow(GlProfile profile) { g_profile = profile; }

GlContext* GlContext_Create(void*) {
  if (g_context.context) return nullptr;
  EGLDisplay display = OpenDisplay();
  if (display == EGL_NO_DISPLAY) return nullptr;
  const bool es = g_profile == GlProfile::Es3;
  const EGLint renderable = es ? EGL_OPENGL_ES3_BIT : EGL_OPENGL_BIT;
  const EGLint configAttributes[] = {
      EGL_SURFACE_TYPE,    EGL_PBUFFER_BIT, EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_DEPTH_SIZE, 16,
      EGL_RENDERABLE_TYPE, renderable,      EGL_NONE};
  const EGLint surfaceAttributes[] = {EGL_WIDTH, g_width, EGL_HEIGHT, g_height, EGL_NONE};
  const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 0, EGL_NONE};
  EGLConfig config;
  EGLint configs = 0;
  EGLSurface surface = EGL_NO_SURFACE;
  EGLContext context = EGL_NO_CONTEXT;
  bool made = eglBindAPI(es ? EGL_OPENGL_ES_API : EGL_OPENGL_API) &&
              eglChooseConfig(display, configAttributes, &config, 1, &configs) && configs == 1 &&
              (surface = eglCreatePbufferSurface(display, config, surfaceAttributes)) != EGL_NO_SURFACE &&
              (context = eglCreateContext(display, config, EGL_NO_CONTEXT, es ? contextAttributes : nullptr)) !=
                  EGL_NO_CONTEXT &&
              eglMakeCurrent(display, surface, surface, context);
  if (!made) {
    if (context != EGL_NO_CONTEXT) eglDestroyContext(display, context);
    if (surface != EGL_NO_SURFACE) eglDestroySurface(display, surface);
    eglTerminate(display);
    return nullptr;
  }
  g_context = {display, surface, context, g_width, g_height};
  return &g_context;
}

void GlContext_DrawableSize(GlContext* context, int32_t* width, int32_t* height) {
  *width = context->width;
  *height = context->height;
}

// Nothing is shown: the picture stays in the buffer to be read back.
void GlContext_Swap(GlContext*) {}

void GlContext_Destroy(GlContext* context) {
  eglMakeCurrent(context->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  eglDestroyContext(context->display, context->context);
  eglDestroySurface(context->display, context->surface);
  // The display stays initialised: terminating it unloads the driver, and a later context would load it again.
  *context = {};
}
