// The real parts of the show as the driver reaches them: each scene's model, overlays and character, and the music.
#include "driver/show_parts.h"

#include <initializer_list>

#include "driver/config.h"
#include "music/player.h"
#include "overlay/overlays.h"
#include "scene/camera.h"
#include "scene/material.h"
#include "scene/scene_file.h"
#include "scene/texture.h"
#include "scene/view.h"
#include "scene/world.h"

void ShowScene::Build(const char* scenePath, const char* fontPath) {
  world_ = new World("World1");
  mat1_ = new Material("Mat1", world_);
  mat2_ = new Material("Mat2", world_);
  matMotion_ = new Material("MatMotion", world_);
  // Stage 0, pure black transparent.
  font_ = new Texture(fontPath, 0, 1, world_);
  view_ = new View("View1", 0.0f, 0.0f, 1.0f, static_cast<float>(kDisplayWidth), static_cast<float>(kDisplayHeight),
                   500.0f, 1, world_);
  LoadScene(scenePath, world_);
}

void ShowScene::SetupCharacterMaterial() {
  matMotion_->SetTextureCount(0);
  matMotion_->SetAmbient(10, 10, 10, 0);
  matMotion_->SetDiffuse(200, 20, 20, 0);
  matMotion_->SetEmissive(35, 15, 15, 0);
  matMotion_->SetSpecular(255, 255, 255, 0);
  matMotion_->SetSpecularPower(1000.0f, 1.0f);
}

void ShowScene::ShowNewestCamera() {
  view_->SetCamera(world_->cameras);
  world_->SetView(view_);
}

bool ShowScene::Animate(float seconds) { return world_->AnimateWorld(seconds); }

void ShowScene::Destroy() {
  view_->Destroy();
  delete view_;
  font_->Destroy();
  delete font_;
  for (Material* m : {matMotion_, mat2_, mat1_}) {
    m->Destroy();
    delete m;
  }
  world_->Destroy();
  delete world_;
  world_ = nullptr;
  view_ = nullptr;
  font_ = nullptr;
  mat1_ = mat2_ = matMotion_ = nullptr;
}

void ShowMusic::Open(const char* path) { MusicOpen(path); }

void ShowMusic::Start() { MusicStart(); }

void ShowMusic::Stop() { MusicStop(); }

void ShowOverlays::Load(const char* path, const char* dataDirectory) {
  set_ = LoadOverlays("2D", path, scene_.SceneWorld(), dataDirectory);
}

void ShowOverlays::Draw(float seconds) { DrawOverlays(set_, seconds); }

void ShowOverlays::Release() {
  ReleaseOverlays(set_);
  set_ = nullptr;
}

void ShowCharacter::Load(const char* animationPath, const char* meshPath) {
  animation_.Load(animationPath);
  bones_.Create(animation_.boneCount);
  mesh_.Load(meshPath);
}

void ShowCharacter::PoseBones(uint32_t frame) { animation_.PoseBones(bones_, frame); }

void ShowCharacter::SkinVertices() { mesh_.SkinVertices(bones_); }

void ShowCharacter::Draw() {
  mesh_.Draw(kCharacterX, kCharacterY, kCharacterZ, kCharacterScale, scene_.CharacterMaterial());
}

void ShowCharacter::Release() {
  mesh_.Release();
  bones_.Release();
  animation_.Release();
}
