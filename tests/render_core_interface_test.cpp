// The renderer interface's layer: the one window, whose close asks the show to end, and the renderer factory.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "core/app.h"
#include "platform/close_request.h"
#include "render/backends.h"
#include "render/recording_renderer.h"
#include "render/window.h"
#include "tests/support.h"

namespace {

TEST(MainWindow, IsCreatedWithTheProgramsClassAndTitleAndStored) {
  ScopedFakePlatform sys;
  AppInstance = reinterpret_cast<void*>(0x400000);
  CreateMainWindow(800, 600, true);
  ASSERT_EQ(sys->windows.size(), 1u);
  const WindowRequest& request = sys->windows[0];
  EXPECT_EQ(std::string(request.className), "QZ2");
  EXPECT_EQ(std::string(request.title), "QZ2 V2.02 D3D7");
  EXPECT_EQ(std::tuple(request.width, request.height, request.fullscreen, request.instance),
            std::tuple(800, 600, true, AppInstance));
  EXPECT_EQ(MainWindow, sys->windowToReturn);
  MainWindow = nullptr;
  AppInstance = nullptr;
}

TEST(MainWindow, CloseDestroyAndTheSessionsEndAskTheShowToEndAndNothingElseDoes) {
  ScopedFakePlatform sys;
  void* window = reinterpret_cast<void*>(0x77);
  struct Case {
    uint32_t message;
    uintptr_t wParam;
    intptr_t result;
    bool requested;
  } cases[] = {
      {0x0F, 0, 0, false},  // paint
      {MessageEndSession, 0, 0, false},  // the session goes on after all
      {MessageClose, 0, 0, true},
      {MessageDestroy, 0, 0, true},
      {MessageQueryEndSession, 0, 1, true},  // it may end
      {MessageEndSession, 1, 0, true},
  };
  for (const Case& c : cases) {
    Close_Reset();
    EXPECT_EQ(WindowProc(window, c.message, c.wParam, 0), c.result) << "message " << c.message;
    EXPECT_EQ(Close_Requested(), c.requested) << "message " << c.message;
  }
  Close_Reset();
  EXPECT_TRUE(sys->boxes.empty());
}

Renderer* NewRecording() { return new RecordingRenderer; }

TEST(RendererFactory, MakesTheKindsItKnowsAndLeavesOthersAlone) {
  SetRendererMaker(RendererGL, NewRecording);
  SetRendererMaker(RendererD3D7, nullptr);
  Renderer* made = CreateRenderer(RendererGL);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(CreateRenderer(2), nullptr);
  EXPECT_EQ(CurrentRenderer, made) << "an unknown kind changes nothing";
  EXPECT_EQ(CurrentRendererKind, RendererGL);
  DestroyRenderer();
  EXPECT_EQ(CurrentRenderer, nullptr);
  EXPECT_EQ(CurrentRendererKind, RendererNone);
  // A back end the build lacks sets its kind with no renderer, which destroying only clears.
  EXPECT_EQ(CreateRenderer(RendererD3D7), nullptr);
  EXPECT_EQ(CurrentRendererKind, RendererD3D7);
  DestroyRenderer();
  EXPECT_EQ(CurrentRendererKind, RendererNone);
  SetRendererMaker(RendererGL, nullptr);
}

}  // namespace
