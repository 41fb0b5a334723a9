// The real parts of the show as the driver reaches them: the scene model of each scene and the data pack.
#pragma once

#include "driver/show.h"

class World;
class Material;
class Texture;

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
