// The show: start-up, the nine scenes with their frame loop, and shutdown.
//
// The driver reaches the other subsystems through these interfaces: the program wires the real
// ones (driver/show_parts.h), tests wire fakes.
#pragma once

#include <cstdint>

#include "driver/options.h"
#include "driver/show_files.h"

class View;

constexpr unsigned kDataPathSize = 256;

// The scene model of one scene: the world, the driver's own materials, font texture and view.
class SceneParts {
 public:
  virtual ~SceneParts() = default;
  // The world "World1", materials "Mat1", "Mat2", "MatMotion", the font texture from fontPath,
  // the view "View1", then the scene file loaded into the world.
  virtual void Build(const char* scenePath, const char* fontPath) = 0;
  // The material of the character scene, "MatMotion".
  virtual void SetupCharacterMaterial() = 0;
  // Points the view at the newest camera and sets it as the world's view.
  virtual void ShowNewestCamera() = 0;
  virtual View* SceneView() = 0;
  // Animates and draws the world at the time; true once the camera's track has run out.
  virtual bool Animate(float seconds) = 0;
  // The view, font texture and materials, then the world with what is left in it.
  virtual void Destroy() = 0;
};

class OverlayParts {
 public:
  virtual ~OverlayParts() = default;
  virtual void Load(const char* path, const char* dataDirectory) = 0;
  virtual void Draw(float seconds) = 0;
  virtual void Release() = 0;
};

class CharacterParts {
 public:
  virtual ~CharacterParts() = default;
  // The animation, its bone matrices, then the mesh.
  virtual void Load(const char* animationPath, const char* meshPath) = 0;
  virtual uint32_t FrameCount() = 0;
  virtual void PoseBones(uint32_t frame) = 0;
  virtual void SkinVertices() = 0;
  // Translation (0, 0, 7), scale 1, material "MatMotion".
  virtual void Draw() = 0;
  // The mesh, the bone matrices, the animation.
  virtual void Release() = 0;
};

class MusicParts {
 public:
  virtual ~MusicParts() = default;
  virtual void Open(const char* path) = 0;
  virtual void Start() = 0;
  virtual void Stop() = 0;
};

class PackParts {
 public:
  virtual ~PackParts() = default;
  // Chooses the data directory's name into buffer; false when none can be chosen.
  virtual bool ChooseDataDirectory(char* buffer, unsigned size) = 0;
  // 0 after extraction, -1 when there is no archive or directory name.
  virtual int Unpack(const char* archive, const char* directory) = 0;
  virtual void DeleteDataDirectory(const char* directory) = 0;
};

struct ShowParts {
  SceneParts& scene;
  OverlayParts& overlays;
  CharacterParts& character;
  MusicParts& music;
  PackParts& pack;
};

// Plays the show with the renderer of the given kind, from the options' first scene to the last, and
// returns the exit code (0).
int RunShow(ShowParts parts, int32_t rendererKind, void* instance, const ShowOptions& options = {});

// What the keys and the frames leave for the character across scenes.
struct CharacterState {
  bool visible = true;
  uint32_t frameCounter = 0;
};

// The time source of a frame: the show's clock, or a fixed time for a captured frame.
class FrameClock {
 public:
  virtual float Elapsed() = 0;

 protected:
  ~FrameClock() = default;
};

// A captured frame reads one fixed time wherever the show reads its clock.
class FixedClock : public FrameClock {
 public:
  explicit FixedClock(float seconds) : seconds_(seconds) {}
  float Elapsed() override { return seconds_; }

 private:
  float seconds_;
};

// Scene set-up for index 0 to 8 from the files of the data directory, up to the black frame;
// the clock and the music start are the caller's.
void SetUpScene(ShowParts& parts, const char* dataDirectory, int index);
// The music as the scene starts, once it is set up: its own track started, or for the first scene of a show
// started part-way, the track playing there opened and started.
void StartSceneMusic(ShowParts& parts, const char* dataDirectory, int index, bool first);
// The music as the scene ends, after its tear-down.
void EndSceneMusic(ShowParts& parts, int index);
// One frame of scene index, from the clear to EndScene (the caller presents it); true once the
// scene's animation is over.
bool DrawShowFrame(ShowParts& parts, int index, FrameClock& clock, CharacterState& character);
// Scene index's frame at a fixed time, as a running show would show it: drawn twice, since objects are culled
// where the previous frame left them, the first presented and the second left for the caller to present; the
// character shows the frame a show drawing 60 frames a second reaches by then. True once the animation is over.
bool DrawFrameAt(ShowParts& parts, int index, float seconds);
// Scene tear-down up to the black frame; the music stop is the caller's.
void TearDownScene(ShowParts& parts);

// "directory" + separator + "name" into a kDataPathSize buffer.
void DataPath(char* buffer, const char* directory, const char* name);
