// The OpenGL context of the main window over WGL.
#include <windows.h>

#include "platform/gl_context.h"

struct GlContext {
  HWND window;
  HDC deviceContext;
  HGLRC context;
};

namespace {
// One window, one context.
GlContext g_context;
GlProfile g_profile = GlProfile::Compatibility;
}  // namespace

// The pixel format is chosen on the window's device context once the window exists.
void GlContext_PrepareWindow(GlProfile profile) { g_profile = profile; }

GlContext* GlContext_Create(void* window) {
  if (!window || g_context.context || g_profile != GlProfile::Compatibility) return nullptr;
  HWND hwnd = static_cast<HWND>(window);
  HDC dc = GetDC(hwnd);
  if (!dc) return nullptr;
  PIXELFORMATDESCRIPTOR pfd = {};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = 32;
  pfd.cDepthBits = 16;
  pfd.iLayerType = PFD_MAIN_PLANE;
  int format = ChoosePixelFormat(dc, &pfd);
  HGLRC context = nullptr;
  if (format != 0 && SetPixelFormat(dc, format, &pfd)) context = wglCreateContext(dc);
  if (context && !wglMakeCurrent(dc, context)) {
    wglDeleteContext(context);
    context = nullptr;
  }
  if (!context) {
    ReleaseDC(hwnd, dc);
    return nullptr;
  }
  g_context = {hwnd, dc, context};
  return &g_context;
}

void GlContext_DrawableSize(GlContext* context, int32_t* width, int32_t* height) {
  RECT client = {};
  GetClientRect(context->window, &client);
  *width = client.right - client.left;
  *height = client.bottom - client.top;
}

void GlContext_Swap(GlContext* context) { SwapBuffers(context->deviceContext); }

void GlContext_Destroy(GlContext* context) {
  wglMakeCurrent(nullptr, nullptr);
  ReleaseDC(context->window, context->deviceContext);
  wglDeleteContext(context->context);
  *context = {};
}
