// The renderer factory and the process-wide values around the one renderer.
#include "render/renderer.h"

#include "render/backends.h"

Renderer* CurrentRenderer;
int32_t CurrentRendererKind;
View* CurrentView;

static RendererMaker g_makers[3];

static RendererMaker* MakerSlot(int32_t kind) {
  switch (kind) {
    case RendererD3D7:
      return &g_makers[0];
    case RendererGL:
      return &g_makers[1];
    case RendererGLES:
      return &g_makers[2];
    default:
      return nullptr;
  }
}

void SetRendererMaker(int32_t kind, RendererMaker maker) {
  if (RendererMaker* slot = MakerSlot(kind)) *slot = maker;
}

Renderer* CreateRenderer(int32_t kind) {
  RendererMaker* slot = MakerSlot(kind);
  if (!slot) return nullptr;
  // A back end this build lacks is treated as a failed allocation: kind set, no renderer.
  CurrentRenderer = *slot ? (*slot)() : nullptr;
  CurrentRendererKind = kind;
  return CurrentRenderer;
}

void DestroyRenderer() {
  if (MakerSlot(CurrentRendererKind)) delete CurrentRenderer;
  CurrentRenderer = nullptr;
  CurrentRendererKind = RendererNone;
}
