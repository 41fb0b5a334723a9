// The program: wires the real parts of the show and plays it with this platform's back end.
#include "driver/pack.h"
#include "driver/show.h"
#include "driver/show_parts.h"
#include "platform/entry.h"
#include "render/backends.h"
#include "render/renderer.h"
#ifndef _WIN32
#include "render/gl/gl_renderer.h"
#endif

int ProgramMain(void* instance) {
#ifdef _WIN32
  const int32_t kind = RendererD3D7;
#else
  const int32_t kind = RendererGL;
  SetRendererMaker(RendererGL, NewGLRenderer);
#endif
  ShowScene scene;
  ShowOverlays overlays(scene);
  ShowCharacter character(scene);
  ShowMusic music;
  DataPack pack;
  return RunShow({scene, overlays, character, music, pack}, kind, instance);
}
