// The real parts of the show as the driver reaches them: each scene's model, overlays and character, and the music.
#pragma once

#include "driver/show.h"
#include "overlay/character.h"

class World;
class Material;
class Texture;
class OverlaySet;

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

// The scene's overlay set "2D", in the scene's world.
class ShowOverlays : public OverlayParts {
 public:
  explicit ShowOverlays(ShowScene& scene) : scene_(scene) {}
  void Load(const char* path, const char* dataDirectory) override;
  void Draw(float seconds) override;
  void Release() override;

 private:
  ShowScene& scene_;
  OverlaySet* set_ = nullptr;
};

// The character, drawn with the scene's material "MatMotion".
class ShowCharacter : public CharacterParts {
 public:
  explicit ShowCharacter(ShowScene& scene) : scene_(scene) {}
  void Load(const char* animationPath, const char* meshPath) override;
  uint32_t FrameCount() override { return animation_.frameCount; }
  void PoseBones(uint32_t frame) override;
  void SkinVertices() override;
  void Draw() override;
  void Release() override;

 private:
  ShowScene& scene_;
  BoneAnimation animation_;
  BoneSet bones_;
  SkinMesh mesh_;
};
