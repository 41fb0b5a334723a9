// Fuzz support: a World with one 800 x 600 view over the recording renderer, torn down as the driver tears
// down a scene, whether the input loaded or ended in a fatal report.
#pragma once

#include "render/recording_renderer.h"
#include "scene/view.h"
#include "scene/world.h"

// The renderer is current before the World and the View are made: they register with it.
struct CurrentRecordingRenderer {
  CurrentRecordingRenderer() { CurrentRenderer = &renderer; }
  RecordingRenderer renderer;
};

struct FuzzWorld : CurrentRecordingRenderer {
  FuzzWorld() = default;
  ~FuzzWorld() {
    view->Destroy();
    delete view;
    world.Destroy();
    CurrentRenderer = nullptr;
    CurrentView = nullptr;
  }
  FuzzWorld(const FuzzWorld&) = delete;
  FuzzWorld& operator=(const FuzzWorld&) = delete;

  World world{"World1"};
  View* view = new View("View1", 0.0f, 0.0f, 1.0f, 800.0f, 600.0f, 500.0f, 1, &world);
};
