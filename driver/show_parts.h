// The real parts of the show as the driver reaches them: the scene model of each scene and the music.
#pragma once

#include "driver/show.h"

class World;
class Material;
class Texture;

// The overlays and the character join the show in later steps; until they do, the scenes play without them.
class NoOverlays : public OverlayParts {
 public:
  void Load(const char*, const char*) override {}
  void Draw(float) override {}
  void Release() override {}
};

class NoCharacter : public CharacterParts {
 public:
  void Load(const char*, const char*) override {}
  uint32_t FrameCount() override { return 0; }
  void PoseBones(uint32_t) override {}
  void SkinVertices() override {}
  void Draw() override {}
  void Release() override {}
};

// The music player.
class ShowMusic : public MusicParts {
 public:
  void Open(const char* path) override;
  void Start() override;
  void Stop() override;
};

// One scene's World "World1" with the driver's own materials, font texture and view.
class ShowScene : public SceneParts {
 public:
  void Build(const char* scenePath, const char* fontPath) override;
  void SetupCharacterMaterial() override;
  void ShowNewestCamera() override;
  View* SceneView() override { return view_; }
  bool Animate(float seconds) override;
  void Destroy() override;

  World* SceneWorld() { return world_; }
  Material* CharacterMaterial() { return matMotion_; }

 private:
  World* world_ = nullptr;
  Material* mat1_ = nullptr;
  Material* mat2_ = nullptr;
  Material* matMotion_ = nullptr;
  Texture* font_ = nullptr;
  View* view_ = nullptr;
};
