// View: a screen rectangle with its depth range and the camera it shows.
#include "scene/view.h"

#include "render/renderer.h"
#include "scene/camera.h"
#include "scene/list.h"
#include "scene/world.h"

namespace {

// Makes the aspect 1.0 for a 4:3 rectangle.
constexpr float kAspectFactor = 0.7500188f;

}  // namespace

View::View(const char* name, float left, float top, float nearPlane, float right, float bottom, float farPlane,
           uint32_t flag, World* world)
    : flag(flag),
      width(right - left),
      height(bottom - top),
      world(world),
      left(left),
      top(top),
      nearPlane(nearPlane),
      right(right),
      bottom(bottom),
      farPlane(farPlane),
      centreX(left + width * 0.5f),
      centreY(top + height * 0.5f),
      farSquared(farPlane * farPlane),
      aspect((width / height) * kAspectFactor) {
  id = world->registry.Add(this, ElementView, name);
  PushHead(world->views, this);
  CurrentRenderer->CreateView(this);
}

void View::SetCamera(Camera* shown) { camera = shown; }

void View::Apply() {
  if (!camera) return;
  camera->BuildViewMatrix();
  CurrentRenderer->SetProjection(this);
}

void View::Destroy() {
  CurrentRenderer->ReleaseView(this);
  Unlink(world->views, this);
}
