// The program: wires the real parts of the show and plays it with this platform's back end.
#include <cstdio>

#include "driver/options.h"
#include "driver/pack.h"
#include "driver/show.h"
#include "driver/show_parts.h"
#include "platform/console.h"
#include "platform/entry.h"
#include "render/backends.h"
#include "render/renderer.h"
#ifdef _WIN32
#include "render/d3d7/d3d7_renderer.h"
#elif defined(__EMSCRIPTEN__)
#include "render/gles/gles_renderer.h"
#else
#include "render/gl/gl_renderer.h"
#include "render/gles/gles_renderer.h"
#endif

int ProgramMain(void* instance, int argc, const char* const* argv) {
  ShowOptions options;
  char error[256];
  char text[1024];
  switch (ParseShowOptions(argc, argv, options, error, sizeof error)) {
    case OptionsResult::Help:
      Console_Write(kShowHelpText, false);
      return 0;
    case OptionsResult::Refused:
      // One text, so that Windows shows one box.
      std::snprintf(text, sizeof text, "%s\n%s", error, kShowHelpText);
      Console_Write(text, true);
      return 2;
    case OptionsResult::Play:
      break;
  }
#ifdef _WIN32
  const int32_t kind = RendererD3D7;
  SetRendererMaker(RendererD3D7, NewD3D7Renderer);
#elif defined(__EMSCRIPTEN__)
  const int32_t kind = RendererGLES;
  SetRendererMaker(RendererGLES, NewGLESRenderer);
#else
  const int32_t kind = options.renderer ? options.renderer : RendererGL;
  SetRendererMaker(RendererGL, NewGLRenderer);
  SetRendererMaker(RendererGLES, NewGLESRenderer);
#endif
  ShowScene scene;
  ShowOverlays overlays(scene);
  ShowCharacter character(scene);
  ShowMusic music;
  DataPack pack;
  return RunShow({scene, overlays, character, music, pack}, kind, instance, options);
}
