// The World: everything of one scene, its element registry and one newest-first list per element type.
//
// A World owns the elements still in its lists when it is destroyed; elements made by somebody
// else (the driver's view, materials and font texture) are destroyed by their owner first.
#pragma once

#include <cstdint>

#include "scene/registry.h"

class View;
class Camera;
class Light;
class Material;
class Texture;
class Move;
class MeshObject;
// The overlay subsystem's records, built on this one (quads, font glyph sets, overlay layers).
class OverlayQuad;
class GlyphSet;
class OverlaySet;

// The overlay subsystem hands these over before it makes its first record, so that the World's
// Destroy can free its quads and layers in their place. Each must unlink the record it frees.
struct OverlayListOps {
  void (*destroyQuad)(OverlayQuad* quad);
  void (*releaseOverlaySet)(OverlaySet* set);
};
void SetOverlayListOps(const OverlayListOps& ops);

// The key index and fraction one frame evaluates every track at.
struct TrackTime {
  uint32_t key;
  float frac;
};

class World {
 public:
  // The name is kept as a pointer, not copied.
  explicit World(const char* name);
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  View* view = nullptr;  // the active View
  ElementRegistry registry;
  const char* name;
  View* views = nullptr;
  Camera* cameras = nullptr;
  Light* lights = nullptr;
  Material* materials = nullptr;
  Texture* textures = nullptr;
  OverlayQuad* quads = nullptr;
  GlyphSet* glyphSets = nullptr;
  Move* moves = nullptr;
  OverlaySet* overlaySets = nullptr;
  MeshObject* meshes = nullptr;

  // The view becomes the active one; the renderer's SetViewport.
  void SetView(View* view);
  // One frame at demo time t in seconds: animates the lights, the camera and each visible mesh
  // object at the active camera's key and draws the meshes. True when the scene is over (the
  // camera track's duration <= t), and also when the view shows no camera with a track.
  bool AnimateWorld(float t);
  // For each mesh object of list: visibility, then track, matrices, drawing and children.
  void WalkObjects(MeshObject* list, uint32_t key, float frac);
  // Frees every element of the lists (meshes, views, cameras, lights, materials, textures,
  // quads, tracks, overlay layers), then the registry entries. Glyph sets are forgotten.
  void Destroy();
};

// pos = (fps / step) x t; key = pos truncated toward zero, frac = pos - key. A pos that no key
// index can hold (negative, huge or not a number) gives key 0xFFFFFFFF, past every track.
TrackTime KeyAt(const Move& track, float t);
