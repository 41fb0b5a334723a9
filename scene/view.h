// View: a screen rectangle with its depth range and the camera it shows.
#pragma once

#include <cstdint>

#include "scene/registry.h"

class Camera;
class World;
struct ViewportData;

class View {
 public:
  // Registers (kind 6), joins the World's view list, then the renderer's CreateView.
  View(const char* name, float left, float top, float nearPlane, float right, float bottom, float farPlane,
       uint32_t flag, World* world);
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  uint32_t flag;  // not interpreted here
  float width, height;
  ElementId id;
  World* world;
  float left, top;
  float nearPlane;
  float right, bottom;
  float farPlane;
  float centreX, centreY;
  float farSquared;
  float aspect;  // (width / height) x 0.7500188: 1.0 for 4:3
  View* prev = nullptr;
  View* next = nullptr;
  ViewportData* viewport = nullptr;  // the renderer's
  Camera* camera = nullptr;

  void SetCamera(Camera* camera);
  // The camera's BuildViewMatrix, then the renderer's SetProjection; nothing without a camera.
  void Apply();
  // The renderer's ReleaseView, then unlinks; the storage is the owner's to free.
  void Destroy();
};
