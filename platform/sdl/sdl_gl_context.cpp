// The OpenGL context of the main window over SDL2: a compatibility context (fixed-function GL) or OpenGL ES 3.0.
#include <SDL.h>

#include <optional>

#include "platform/frame_pacer.h"
#include "platform/gl_context.h"

struct GlContext {
  SDL_Window* window;
  SDL_GLContext context;
  std::optional<FramePacer> pacer;
};

namespace {
// One window, one context.
GlContext g_context;
}  // namespace

void GlContext_PrepareWindow(GlProfile profile) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
  const bool es = profile == GlProfile::Es3;
  // SDL's defaults (no profile, 2.1) give the compatibility context.
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, es ? SDL_GL_CONTEXT_PROFILE_ES : 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, es ? 3 : 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, es ? 0 : 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

GlContext* GlContext_Create(void* window) {
  if (!window || g_context.context) return nullptr;
  SDL_Window* sdlWindow = static_cast<SDL_Window*>(window);
  SDL_GLContext context = SDL_GL_CreateContext(sdlWindow);
  if (!context) return nullptr;
  // Frames follow the display's refresh, as a flipping chain does; refused where unsupported.
  SDL_GL_SetSwapInterval(1);
  SDL_DisplayMode mode = {};
  const int refreshHz = SDL_GetWindowDisplayMode(sdlWindow, &mode) == 0 ? mode.refresh_rate : 0;
  g_context = {sdlWindow, context, FramePacer(refreshHz)};
  return &g_context;
}

void GlContext_DrawableSize(GlContext* context, int32_t* width, int32_t* height) {
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(context->window, &w, &h);
  *width = w;
  *height = h;
}

void GlContext_Swap(GlContext* context) {
  SDL_GL_SwapWindow(context->window);
  context->pacer->AfterSwap();
}

void GlContext_Destroy(GlContext* context) {
  SDL_GL_MakeCurrent(context->window, nullptr);
  SDL_GL_DeleteContext(context->context);
  *context = {};
}
