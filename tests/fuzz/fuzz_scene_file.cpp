// Fuzz target: a .qz3 scene read into a World as the driver reads it, then one frame animated and drawn
// through the recording renderer.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>

#include "platform/fake/fake_platform.h"
#include "scene/camera.h"
#include "scene/light.h"
#include "scene/math.h"
#include "scene/mesh.h"
#include "scene/move.h"
#include "scene/scene_file.h"
#include "tests/fuzz/fuzz_world.h"

static bool AllFinite(const float (&m)[16]) {
  return std::all_of(std::begin(m), std::end(m), [](float v) { return std::isfinite(v); });
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ScopedFakePlatform sys;
  FuzzWorld fuzz;
  World& world = fuzz.world;
  View* view = fuzz.view;
  try {
    LoadScene("fuzz.qz3", data, size, &world);
    view->SetCamera(world.cameras);
    world.SetView(view);
    // Between keys of any track of a few frames a second or more.
    world.AnimateWorld(0.37f);
    // Whatever the file holds, tracks last a finite time of no less than 0 s, cameras see through sound angles
    // from finite places and view matrices, and lights and objects stand at finite places with finite world matrices.
    for (const Move* move = world.moves; move; move = move->next) {
      if (!(std::isfinite(move->duration) && move->duration >= 0.0f)) std::abort();
    }
    for (Camera* c = world.cameras; c; c = c->next) {
      if (!(c->fovX > 0.0f && c->fovX < 3.1416f && c->fovY > 0.0f && c->fovY < 3.1416f)) std::abort();
      if (!(std::isfinite(c->xScale) && c->xScale > 0.0f && std::isfinite(c->yScale) && c->yScale > 0.0f)) {
        std::abort();
      }
      c->BuildViewMatrix();
      if (!(IsFinite(c->position) && IsFinite(c->target) && AllFinite(c->viewMatrix))) std::abort();
    }
    for (const Light* light = world.lights; light; light = light->next) {
      if (!IsFinite(light->position)) std::abort();
    }
    for (const MeshObject* m = world.meshes; m; m = m->next) {
      if (!(IsFinite(m->position) && IsFinite(m->scale) && IsFinite(m->rotation) && AllFinite(m->worldMatrix))) {
        std::abort();
      }
    }
  } catch (const FakeExit&) {
    // A fatal report: the program would end here; the World is torn down as for any scene.
  }
  return 0;
}
