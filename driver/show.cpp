// The show: start-up, the nine scenes with their frame loop, and shutdown.
#include "driver/show.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/app.h"
#include "core/error.h"
#include "core/file.h"
#include "driver/config.h"
#include "driver/keyboard.h"
#include "driver/show_files.h"
#include "driver/timer.h"
#include "overlay/overlay_format.h"
#include "platform/close_request.h"
#include "platform/platform.h"
#include "render/renderer.h"

namespace {

// Between keyboard reads while paused or while the display cannot be drawn: keys still answer at once, and the
// wait holds no core.
constexpr uint32_t kWaitMs = 10;

// State that lives for the whole run.
struct Show {
  ShowParts parts;
  KEYBOARD keyboard;
  char dataDirectory[kDataPathSize];
  bool paused = false;
  CharacterState character;
};

// The run a report that ends the process cleans up after.
Show* g_show;

void DeleteDataOnExit() { g_show->parts.pack.DeleteDataDirectory(g_show->dataDirectory); }

// Room left in a data file's path for the longest name joined to the directory: an overlay's texture file.
bool LeavesRoomForNames(const char* directory) {
  return std::strlen(directory) + 1 + kOverlayTextureNameSize < kDataPathSize;
}

class TimerClock : public FrameClock {
 public:
  explicit TimerClock(Timer& timer) : timer_(timer) {}
  float Elapsed() override { return timer_.Elapsed(); }

 private:
  Timer& timer_;
};

void BlackFrame() {
  CurrentRenderer->Clear(ClearColor | ClearDepth, 0, 1.0f);
  CurrentRenderer->Present(0);
}

void DrawCharacter(CharacterParts& character, CharacterState& state) {
  uint32_t frames = character.FrameCount();
  // An animation without frames leaves the bones in their rest pose.
  if (frames != 0) character.PoseBones(state.frameCounter % frames);
  ++state.frameCounter;
  character.SkinVertices();
  if (KeyPressed(KeyM)) state.visible = !state.visible;
  if (state.visible) character.Draw();
}

// The track the show plays under scene index: its own, or the last one opened before it.
const char* TrackUnder(int index) {
  while (index > 0 && !kShowSceneFiles[index].musicFile) --index;
  return kShowSceneFiles[index].musicFile;
}

// The track scene index opens: its own, or for the first scene of a show started part-way, the one that would be
// playing by then, from its start.
const char* TrackOpenedBy(int index, bool first) {
  const char* own = kShowSceneFiles[index].musicFile;
  return own || !first ? own : TrackUnder(index);
}

void PlayScene(Show& show, int index, bool first) {
  ShowParts& parts = show.parts;
  SetUpScene(parts, show.dataDirectory, index, first);
  Timer timer("Timer01");
  TimerClock clock(timer);
  StartSceneMusic(parts, index, first);

  for (;;) {
    // Also while paused: the window must answer the system, and a close request must reach it.
    Sys().PumpMessages();
    if (Close_Requested()) break;
    show.keyboard.Update();
    if (KeyPressed(KeyP)) {
      show.paused = !show.paused;
      timer.Toggle();
    }
    // The clock and the music go on while the display cannot be drawn (full screen left for another program).
    if (show.paused || !CurrentRenderer->IsReady()) {
      Sys().Sleep(kWaitMs);
      continue;
    }
    if (KeyPressed(KeyF12)) timer.Toggle();
    bool sceneEnded = DrawShowFrame(parts, index, clock, show.character);
    CurrentRenderer->Present(0);
    if (KeyHeld(KeyEscape) || sceneEnded) break;
  }

  TearDownScene(parts);
  EndSceneMusic(parts, index);
}

// Scene index's frame at a fixed time, without music, drawn again and again until Escape is held or a close request.
void HoldStill(Show& show, int index, float seconds) {
  SetUpScene(show.parts, show.dataDirectory, index, false);
  do {
    Sys().PumpMessages();
    show.keyboard.Update();
    DrawFrameAt(show.parts, index, seconds);
    CurrentRenderer->Present(0);
  } while (!KeyHeld(KeyEscape) && !Close_Requested());
  TearDownScene(show.parts);
}

}  // namespace

void SetUpScene(ShowParts& parts, const char* dataDirectory, int index, bool first) {
  const ShowSceneFiles& row = kShowSceneFiles[index];
  char path[kDataPathSize];
  char fontPath[kDataPathSize];
  DataPath(path, dataDirectory, row.sceneFile);
  DataPath(fontPath, dataDirectory, kFontFile);
  parts.scene.Build(path, fontPath);
  if (const char* track = TrackOpenedBy(index, first)) {
    DataPath(path, dataDirectory, track);
    parts.music.Open(path);
  }
  char overlayName[32];
  std::snprintf(overlayName, sizeof overlayName, kOverlayFileFormat, index + 1);
  char animationPath[kDataPathSize];
  char meshPath[kDataPathSize];
  DataPath(path, dataDirectory, overlayName);
  DataPath(animationPath, dataDirectory, kCharacterAnimationFile);
  DataPath(meshPath, dataDirectory, kCharacterMeshFile);
  parts.overlays.Load(path, dataDirectory);
  parts.character.Load(animationPath, meshPath);
  if (index == kCharacterScene) parts.scene.SetupCharacterMaterial();
  parts.scene.ShowNewestCamera();
  BlackFrame();
}

void StartSceneMusic(ShowParts& parts, int index, bool first) {
  if (TrackOpenedBy(index, first)) parts.music.Start();
}

void EndSceneMusic(ShowParts& parts, int index) {
  if (kShowSceneFiles[index].stopMusicAtEnd) parts.music.Stop();
}

bool DrawShowFrame(ShowParts& parts, int index, FrameClock& clock, CharacterState& character) {
  View* view = parts.scene.SceneView();
  CurrentRenderer->Clear(ClearColor | ClearDepth, 0, 1.0f);
  CurrentRenderer->BeginScene();
  // The rest of the frame is drawn even when the animation has just ended.
  bool ended = parts.scene.Animate(clock.Elapsed());
  CurrentRenderer->BeginView(view);
  if (index == kCharacterScene) DrawCharacter(parts.character, character);
  CurrentRenderer->EndView();
  CurrentRenderer->Begin2D(view);
  parts.overlays.Draw(clock.Elapsed());
  CurrentRenderer->End2D();
  CurrentRenderer->EndScene();
  return ended;
}

bool DrawFrameAt(ShowParts& parts, int index, float seconds) {
  constexpr float kFramesPerSecond = 60.0f;
  constexpr float kLastFrameCount = 4294967040.0f;  // the largest float a 32-bit count holds
  const float frames = seconds * kFramesPerSecond;
  FixedClock clock(seconds);
  // The character advances a frame per drawn frame, counted so that the second of the two poses it.
  CharacterState character;
  character.frameCounter = (frames > 0.0f ? static_cast<uint32_t>(std::min(frames, kLastFrameCount)) : 0) - 1u;
  DrawShowFrame(parts, index, clock, character);
  CurrentRenderer->Present(0);
  return DrawShowFrame(parts, index, clock, character);
}

void TearDownScene(ShowParts& parts) {
  parts.character.Release();
  parts.overlays.Release();
  parts.scene.Destroy();
  BlackFrame();
}

void DataPath(char* buffer, const char* directory, const char* name) {
  File_JoinPath(buffer, kDataPathSize, directory, name);
}

int RunShow(ShowParts parts, int32_t rendererKind, void* instance, const ShowOptions& options) {
  Show show{parts, {}, {}, false, {}};
  ReadConfig(CreateRenderer(rendererKind), instance, !options.windowed);
  bool named = parts.pack.ChooseDataDirectory(show.dataDirectory, sizeof show.dataDirectory);
  if (named) {
    // A fatal report from here on leaves no extracted file behind.
    g_show = &show;
    SetErrorExitCleanup(DeleteDataOnExit);
    // Every file name joined to it would come out empty.
    if (!LeavesRoomForNames(show.dataDirectory)) {
      ReportErrorDetail("Data directory path too long", show.dataDirectory, true);
    }
  }
  if (parts.pack.Unpack(kPackFile, named ? show.dataDirectory : nullptr) == -1) {
    ReportError("Erreur Unpacking", true);
  }
  show.keyboard.init(AppInstance, MainWindow);
  const int first = std::clamp(options.firstScene, 0, kSceneCount - 1);
  if (options.still >= 0.0f) {
    HoldStill(show, first, options.still);
  } else {
    // A close request ends the show after the scene it came in, as Escape held through the last scene would.
    for (int i = first; i < kSceneCount && !Close_Requested(); ++i) PlayScene(show, i, i == first);
  }
  show.keyboard.Close();
  DestroyRenderer();
  parts.music.Stop();
  parts.pack.DeleteDataDirectory(show.dataDirectory);
  SetErrorExitCleanup(nullptr);
  g_show = nullptr;
  return 0;
}
