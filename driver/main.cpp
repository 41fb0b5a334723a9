// The program: wires the real parts of the show and plays it with this platform's back end.
#include "driver/show.h"
#include "driver/show_parts.h"
#include "driver/pack.h"
#include "platform/entry.h"
#include "render/backends.h"
#include "render/renderer.h"
#ifndef _WIN32
#include "render/gl/gl_renderer.h"
#endif

namespace {

// The overlays, the character and the music player join the show in later steps; until they do,
// the scenes play without them.
class NoOverlays : public OverlayParts {
  void Load(const char*, const char*) override {}
  void Draw(float) override {}
  void Release() override {}
};

class NoCharacter : public CharacterParts {
  void Load(const char*, const char*) override {}
  uint32_t FrameCount() override { return 0; }
  void PoseBones(uint32_t) override {}
  void SkinVertices() override {}
  void Draw() override {}
  void Release() override {}
};

class NoMusic : public MusicParts {
  void Open(const char*) override {}
  void Start() override {}
  void Stop() override {}
};

}  // namespace

int ProgramMain(void* instance) {
#ifdef _WIN32
  const int32_t kind = RendererD3D7;
#else
  const int32_t kind = RendererGL;
  SetRendererMaker(RendererGL, NewGLRenderer);
#endif
  ShowScene scene;
  NoOverlays overlays;
  NoCharacter character;
  NoMusic music;
  DataPack pack;
  return RunShow({scene, overlays, character, music, pack}, kind, instance);
}
