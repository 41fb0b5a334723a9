// The show: start-up, the nine scenes with their frame loop, and shutdown.
#include "driver/show.h"

#include <algorithm>
#include <cstdio>

#include "core/app.h"
#include "core/error.h"
#include "core/file.h"
#include "driver/config.h"
#include "driver/keyboard.h"
#include "driver/show_files.h"
#include "driver/timer.h"
#include "platform/platform.h"
#include "render/renderer.h"

namespace {

// State that lives for the whole run.
struct Show {
  ShowParts parts;
  KEYBOARD keyboard;
  char dataDirectory[kDataPathSize];
  bool paused = false;
  CharacterState character;
};

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

void PlayScene(Show& show, int index, bool first) {
  ShowParts& parts = show.parts;
  SetUpScene(parts, show.dataDirectory, index);
  Timer timer("Timer01");
  TimerClock clock(timer);
  StartSceneMusic(parts, show.dataDirectory, index, first);

  for (;;) {
    // Also while paused: the window must answer the system, and a close request must reach it.
    Sys().PumpMessages();
    show.keyboard.Update();
    if (KeyPressed(KeyP)) {
      show.paused = !show.paused;
      timer.Toggle();
    }
    if (show.paused) continue;
    if (KeyPressed(KeyF12)) timer.Toggle();
    bool sceneEnded = DrawShowFrame(parts, index, clock, show.character);
    CurrentRenderer->Present(0);
    if (KeyHeld(KeyEscape) || sceneEnded) break;
  }

  TearDownScene(parts);
  EndSceneMusic(parts, index);
}

// Scene index's frame at a fixed time, without music, drawn again and again until Escape is held.
void HoldStill(Show& show, int index, float seconds) {
  SetUpScene(show.parts, show.dataDirectory, index);
  do {
    Sys().PumpMessages();
    show.keyboard.Update();
    DrawFrameAt(show.parts, index, seconds);
    CurrentRenderer->Present(0);
  } while (!KeyHeld(KeyEscape));
  TearDownScene(show.parts);
}

}  // namespace

void SetUpScene(ShowParts& parts, const char* dataDirectory, int index) {
  const ShowSceneFiles& row = kShowSceneFiles[index];
  char path[kDataPathSize];
  char fontPath[kDataPathSize];
  DataPath(path, dataDirectory, row.sceneFile);
  DataPath(fontPath, dataDirectory, kFontFile);
  parts.scene.Build(path, fontPath);
  if (row.musicFile) {
    DataPath(path, dataDirectory, row.musicFile);
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

void StartSceneMusic(ShowParts& parts, const char* dataDirectory, int index, bool first) {
  const ShowSceneFiles& row = kShowSceneFiles[index];
  // A show started part-way opens the track that would be playing by then, from its start.
  const char* playOn = first && !row.musicFile ? TrackUnder(index) : nullptr;
  if (playOn) {
    char path[kDataPathSize];
    DataPath(path, dataDirectory, playOn);
    parts.music.Open(path);
  }
  if (row.musicFile || playOn) parts.music.Start();
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
  if (parts.pack.Unpack(kPackFile, named ? show.dataDirectory : nullptr) == -1) {
    ReportError("Erreur Unpacking", true);
  }
  show.keyboard.init(AppInstance, MainWindow);
  const int first = std::clamp(options.firstScene, 0, kSceneCount - 1);
  if (options.still >= 0.0f) {
    HoldStill(show, first, options.still);
  } else {
    for (int i = first; i < kSceneCount; ++i) PlayScene(show, i, i == first);
  }
  show.keyboard.Close();
  DestroyRenderer();
  parts.music.Stop();
  parts.pack.DeleteDataDirectory(show.dataDirectory);
  return 0;
}
