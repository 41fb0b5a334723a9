// The World: its lists, the frame's animation and drawing walk, and its destruction.
#include "scene/world.h"

#include <cmath>

#include "render/renderer.h"
#include "scene/camera.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "scene/move.h"
#include "scene/texture.h"
#include "scene/view.h"

namespace {

OverlayListOps g_overlayOps = {nullptr, nullptr};

constexpr float kKeyLimit = 4294967296.0f;
constexpr uint32_t kKeyPastEveryTrack = 0xFFFFFFFFu;

// Destroys and frees each element from the head until the list is empty; Destroy unlinks.
template <class T>
void DestroyAll(T*& head) {
  while (T* element = head) {
    element->Destroy();
    delete element;
  }
}

}  // namespace

void SetOverlayListOps(const OverlayListOps& ops) { g_overlayOps = ops; }

World::World(const char* name) : name(name) {}

void World::SetView(View* active) {
  view = active;
  CurrentRenderer->SetViewport(active);
}

TrackTime KeyAt(const Move& track, float t) {
  float pos = (track.fps / static_cast<float>(track.step)) * t;
  float whole = std::trunc(pos);
  float frac = pos - whole;
  if (!(whole >= 0.0f && whole < kKeyLimit)) return {kKeyPastEveryTrack, frac};
  return {static_cast<uint32_t>(whole), frac};
}

bool World::AnimateWorld(float t) {
  // The shown camera's track is the scene's clock; without one there is nothing to play.
  Camera* camera = view ? view->camera : nullptr;
  if (!camera || !camera->move) return true;
  const Move& clock = *camera->move;
  if (clock.duration <= t) return true;
  TrackTime at = KeyAt(clock, t);
  for (Light* light = lights; light; light = light->next) {
    if (light->move) AnimateLight(*light->move, *light, at.key, at.frac);
  }
  AnimateCamera(clock, *camera, at.key, at.frac);
  CurrentRenderer->BeginView(view);
  WalkObjects(meshes, at.key, at.frac);
  CurrentRenderer->EndView();
  return false;
}

void World::WalkObjects(MeshObject* list, uint32_t key, float frac) {
  for (MeshObject* object = list; object; object = object->next) {
    uint32_t vis = object->Visible(view);
    if (vis == 0) continue;
    if (object->move) AnimateObject(*object->move, *object, key, frac);
    object->UpdateTransform();
    object->Draw(vis);
    if (object->children) WalkObjects(object->children, key, frac);
  }
}

void World::Destroy() {
  DestroyAll(meshes);
  DestroyAll(views);
  DestroyAll(cameras);
  DestroyAll(lights);
  DestroyAll(materials);
  DestroyAll(textures);
  while (quads && g_overlayOps.destroyQuad) g_overlayOps.destroyQuad(quads);
  quads = nullptr;
  DestroyAll(moves);
  while (overlaySets && g_overlayOps.releaseOverlaySet) g_overlayOps.releaseOverlaySet(overlaySets);
  overlaySets = nullptr;
  glyphSets = nullptr;
  view = nullptr;
  registry.FreeEntries();
}
