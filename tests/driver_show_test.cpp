// The show's sequence with fake parts and the recording renderer: start-up, scenes, keys, shutdown; then the
// fourth scene's set-up and frames with the real parts from files.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/keyboard.h"
#include "driver/show.h"
#include "driver/show_parts.h"
#include "platform/close_request.h"
#include "render/backends.h"
#include "render/recording_renderer.h"
#include "scene/camera.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/mesh.h"
#include "scene/view.h"
#include "scene/world.h"
#include "tests/allocation_count.h"
#include "tests/support.h"
#include "tools/content/pack_files.h"
#include "tools/content/qz3_writer.h"
#include "tools/content/show_scenes.h"

namespace {

std::vector<std::string> g_log;

// Logs "part.Op(a, b)".
void Log(const std::string& call, std::initializer_list<const char*> args) {
  std::string line = call + "(";
  for (const char* a : args) line += (line.back() == '(' ? "" : ", ") + std::string(a);
  g_log.push_back(line + ")");
}

// A file of the fake data directory, with this platform's separator.
std::string P(const char* name) { return std::string("/tmp/qz2-data") + PathSeparator + name; }
View* const kView = reinterpret_cast<View*>(0x5151);

Renderer* NewLoggedRenderer() {
  auto* renderer = new RecordingRenderer(&g_log);
  renderer->applyViews = false;  // kView stands in for a View
  return renderer;
}

struct FakeScene : SceneParts {
  int framesPerScene = 3;
  int frame = 0;
  std::vector<float> times;
  void Build(const char* scene, const char* font) override {
    frame = 0;
    static_cast<FakePlatform&>(Sys()).now += 5000;  // a slow set-up, which the scene's clock must not count
    Log("scene.Build", {scene, font});
  }
  void SetupCharacterMaterial() override { g_log.push_back("scene.SetupCharacterMaterial"); }
  void ShowNewestCamera() override { g_log.push_back("scene.ShowNewestCamera"); }
  View* SceneView() override { return kView; }
  bool Animate(float seconds) override {
    times.push_back(seconds);
    g_log.push_back("scene.Animate");
    return ++frame >= framesPerScene;
  }
  void Destroy() override { g_log.push_back("scene.Destroy"); }
};

struct FakeOverlays : OverlayParts {
  void Load(const char* path, const char* dir) override { Log("overlays.Load", {path, dir}); }
  void Draw(float) override { g_log.push_back("overlays.Draw"); }
  void Release() override { g_log.push_back("overlays.Release"); }
};

struct FakeCharacter : CharacterParts {
  uint32_t frames = 4;
  std::vector<uint32_t> posed;
  void Load(const char* anim, const char* mesh) override { Log("character.Load", {anim, mesh}); }
  uint32_t FrameCount() override { return frames; }
  void PoseBones(uint32_t frame) override { posed.push_back(frame); }
  void SkinVertices() override { g_log.push_back("character.Skin"); }
  void Draw() override { g_log.push_back("character.Draw"); }
  void Release() override { g_log.push_back("character.Release"); }
};

struct FakeMusic : MusicParts {
  void Open(const char* path) override { Log("music.Open", {path}); }
  void Start() override { g_log.push_back("music.Start"); }
  void Stop() override { g_log.push_back("music.Stop"); }
};

struct FakePack : PackParts {
  bool named = true;
  std::string directory = "/tmp/qz2-data";
  bool ChooseDataDirectory(char* buffer, unsigned size) override {
    snprintf(buffer, size, "%s", directory.c_str());
    return named;
  }
  int Unpack(const char* archive, const char* directory) override {
    Log("pack.Unpack", {archive});
    return directory ? 0 : -1;
  }
  void DeleteDataDirectory(const char* directory) override { Log("pack.Delete", {directory}); }
};

class Show : public testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    Close_Reset();
    SetRendererMaker(RendererGL, NewLoggedRenderer);
    sys->stepPerRead = 10;
  }
  void TearDown() override {
    Close_Reset();
    // A show ended by a fatal report leaves its renderer behind.
    DestroyRenderer();
    SetRendererMaker(RendererGL, nullptr);
  }

  int Run() { return RunShow({scene, overlays, character, music, pack}, RendererGL, nullptr); }
  RecordingRenderer& Renderer() { return *static_cast<RecordingRenderer*>(CurrentRenderer); }

  std::vector<std::string> Matching(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& line : g_log) {
      if (line.rfind(prefix, 0) == 0) out.push_back(line);
    }
    return out;
  }
  size_t Count(const std::string& line) const { return std::count(g_log.begin(), g_log.end(), line); }
  size_t IndexOf(const std::string& line, size_t from = 0) const {
    auto it = std::find(g_log.begin() + from, g_log.end(), line);
    return it == g_log.end() ? std::string::npos : it - g_log.begin();
  }

  ScopedFakePlatform sys;
  FakeScene scene;
  FakeOverlays overlays;
  FakeCharacter character;
  FakeMusic music;
  FakePack pack;
};

TEST_F(Show, OneRunPlaysTheNineScenesInOrderWithTheirTracksAndTheCharacterAndShutsDown) {
  ASSERT_EQ(Run(), 0);
  // Start-up, the first scene's set-up and its first frame.
  std::vector<std::string> expectedStart = {"Init(800, 600, 32, 16, 1, null, 1)",
                                            "pack.Unpack(PACK.ZUL)",
                                            "scene.Build(" + P("scene1.QZ3") + ", " + P("police1.bmp") + ")",
                                            "music.Open(" + P("mp31.mp3") + ")",
                                            "overlays.Load(" + P("over1.dat") + ", /tmp/qz2-data)",
                                            "character.Load(" + P("rap.qza") + ", " + P("rap.qzb") + ")",
                                            "scene.ShowNewestCamera",
                                            "Clear(6, 0x00000000, 1)",
                                            "Present()",
                                            "music.Start",
                                            "IsReady()",
                                            "Clear(6, 0x00000000, 1)",
                                            "BeginScene()",
                                            "scene.Animate",
                                            "BeginView(ptr)",
                                            "EndView()",
                                            "Begin2D(ptr)",
                                            "overlays.Draw",
                                            "End2D()",
                                            "EndScene()",
                                            "Present()"};
  ASSERT_GE(g_log.size(), expectedStart.size());
  EXPECT_EQ(std::vector<std::string>(g_log.begin(), g_log.begin() + expectedStart.size()), expectedStart);

  std::vector<std::string> builds = Matching("scene.Build(");
  ASSERT_EQ(builds.size(), 9u);
  EXPECT_EQ(builds[1], "scene.Build(" + P("scene2.qz3") + ", " + P("police1.bmp") + ")");
  EXPECT_EQ(builds[8], "scene.Build(" + P("scene9.qz3") + ", " + P("police1.bmp") + ")");
  EXPECT_EQ(Matching("overlays.Load(")[8], "overlays.Load(" + P("over9.dat") + ", /tmp/qz2-data)");
  EXPECT_EQ(Count("BeginScene()"), 27u) << "three frames in each of nine scenes";
  EXPECT_LT(scene.times.at(0), 0.1f) << "the clock starts after the set-up";

  EXPECT_EQ(Matching("music."),
            (std::vector<std::string>{"music.Open(" + P("mp31.mp3") + ")", "music.Start", "music.Stop",
                                      "music.Open(" + P("mp32.mp3") + ")", "music.Start", "music.Stop",
                                      "music.Open(" + P("mp33.mp3") + ")", "music.Start", "music.Stop"}));

  std::vector<std::string> expectedEnd = {
      "character.Release", "overlays.Release", "scene.Destroy", "Clear(6, 0x00000000, 1)",
      "Present()",         "Shutdown()",       "music.Stop",    "pack.Delete(/tmp/qz2-data)",
  };
  EXPECT_EQ(std::vector<std::string>(g_log.end() - expectedEnd.size(), g_log.end()), expectedEnd);
  EXPECT_TRUE(sys->keys.deviceReleased && sys->keys.inputReleased);

  // The first two scenes stop their track after the black frame; the third's plays on.
  size_t firstDestroy = IndexOf("scene.Destroy");
  EXPECT_EQ(std::vector<std::string>(g_log.begin() + firstDestroy + 1, g_log.begin() + firstDestroy + 4),
            (std::vector<std::string>{"Clear(6, 0x00000000, 1)", "Present()", "music.Stop"}));
  size_t third = IndexOf("scene.Destroy", IndexOf("scene.Destroy", firstDestroy + 1) + 1);
  EXPECT_EQ(g_log[third + 3], "scene.Build(" + P("scene4.qz3") + ", " + P("police1.bmp") + ")");

  // Only the fourth scene sets up and draws the character.
  EXPECT_EQ(Count("scene.SetupCharacterMaterial"), 1u);
  size_t setup = IndexOf("scene.SetupCharacterMaterial");
  EXPECT_LT(IndexOf("scene.Build(" + P("scene4.qz3") + ", " + P("police1.bmp") + ")"), setup);
  EXPECT_EQ(g_log[setup + 1], "scene.ShowNewestCamera");
  EXPECT_EQ(Count("character.Draw"), 3u);
  EXPECT_EQ(character.posed, (std::vector<uint32_t>{0, 1, 2}));
  size_t draw = IndexOf("character.Draw");
  EXPECT_EQ(g_log[draw - 1], "character.Skin");
  EXPECT_EQ(g_log[draw - 2], "BeginView(ptr)");
  EXPECT_EQ(g_log[draw + 1], "EndView()");
}

TEST_F(Show, TheCharacterFrameWrapsAtTheAnimationsFrameCountAndNoFramesPoseNothing) {
  scene.framesPerScene = 6;
  Run();
  EXPECT_EQ(character.posed, (std::vector<uint32_t>{0, 1, 2, 3, 0, 1}));
  character.frames = 0;
  character.posed.clear();
  g_log.clear();
  Run();
  EXPECT_TRUE(character.posed.empty());
  EXPECT_EQ(Count("character.Draw"), 6u) << "still drawn";
}

TEST_F(Show, EscapeHeldDrawsExactlyOneFramePerScene) {
  scene.framesPerScene = 1000;
  sys->keys.Push({KeyEscape});
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(Count("BeginScene()"), 9u);
  EXPECT_EQ(Count("Present()"), 9u * 3);
  EXPECT_EQ(Matching("scene.Build(").size(), 9u);
  EXPECT_EQ(Count("scene.Destroy"), 9u);
}

TEST_F(Show, StillDrawsItsScenesFrameAtItsTimeUntilEscapeWithNoMusicStarted) {
  sys->keys.beforePoll = [&](int poll) {
    if (poll == 3) sys->keys.Push({KeyEscape});
  };
  ShowOptions options;
  options.firstScene = 3;
  options.still = 2.5f;
  ASSERT_EQ(RunShow({scene, overlays, character, music, pack}, RendererGL, nullptr, options), 0);
  EXPECT_EQ(Matching("scene.Build"),
            (std::vector<std::string>{"scene.Build(" + P("scene4.qz3") + ", " + P("police1.bmp") + ")"}));
  EXPECT_EQ(Count("music.Start"), 0u);
  EXPECT_EQ(Count("BeginScene()"), 4u * 2) << "four polls, each frame drawn twice as a captured frame is";
  EXPECT_EQ(scene.times, std::vector<float>(8, 2.5f));
}

TEST_F(Show, PauseDrawsNothingAndResumesWithoutAJumpAndTheWindowIsPumpedBeforeEveryPoll) {
  scene.framesPerScene = 4;
  int pumpedFirst = 0;
  // Poll 1 pauses, polls 2 to 5 wait, poll 6 resumes.
  sys->keys.beforePoll = [&](int poll) {
    if (sys->pumpCalls == poll + 1) ++pumpedFirst;
    if (poll == 1 || poll == 6) sys->keys.Push({KeyP});
    if (poll == 2) sys->keys.Push({});
    if (poll >= 2 && poll <= 5) sys->now += 5000;
  };
  Run();
  EXPECT_EQ(Count("BeginScene()"), 36u);
  ASSERT_GE(scene.times.size(), 4u);
  for (size_t i = 1; i < 4; ++i) EXPECT_LT(scene.times[i] - scene.times[i - 1], 0.1f) << "frame " << i;
  EXPECT_EQ(sys->keys.getStateCalls, 36 + 5) << "polls 1 to 5 pause and wait, drawing nothing";
  EXPECT_EQ(pumpedFirst, 36 + 5);
  EXPECT_EQ(sys->sleeps, std::vector<uint32_t>(5, 10u)) << "each wait gives the processor away";
}

TEST_F(Show, ACloseRequestEvenWhilePausedEndsTheShowAtTheNextFrameTheNormalWay) {
  scene.framesPerScene = 1000;
  // Poll 1 pauses; the request comes while poll 3 waits.
  sys->keys.beforePoll = [&](int poll) {
    if (poll == 1) sys->keys.Push({KeyP});
    if (poll == 2) sys->keys.Push({});
    if (poll == 3) Close_Request();
  };
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(Count("BeginScene()"), 1u);
  EXPECT_EQ(sys->keys.getStateCalls, 4);
  EXPECT_EQ(Matching("scene.Build(").size(), 1u) << "no scene after it";
  std::vector<std::string> expectedEnd = {
      "character.Release", "overlays.Release", "scene.Destroy", "Clear(6, 0x00000000, 1)", "Present()", "music.Stop",
      "Shutdown()",        "music.Stop",       "pack.Delete(/tmp/qz2-data)",
  };
  EXPECT_EQ(std::vector<std::string>(g_log.end() - expectedEnd.size(), g_log.end()), expectedEnd);
  EXPECT_TRUE(sys->keys.deviceReleased && sys->keys.inputReleased);
}

TEST_F(Show, FramesTheDisplayCannotTakeAreSkippedWhileTheClockGoesOn) {
  sys->keys.beforePoll = [&](int poll) {
    if (poll == 1) Renderer().ready = false;
    if (poll == 2) sys->now += 5000;
    if (poll == 3) Renderer().ready = true;
  };
  Run();
  EXPECT_EQ(Count("BeginScene()"), 27u);
  EXPECT_EQ(sys->sleeps, std::vector<uint32_t>(2, 10u));
  ASSERT_GE(scene.times.size(), 2u);
  EXPECT_GE(scene.times[1] - scene.times[0], 5.0f);
}

TEST_F(Show, F12FreezesTheClockWhileFramesGoOn) {
  scene.framesPerScene = 5;
  sys->keys.beforePoll = [&](int poll) {
    if (poll == 1) sys->keys.Push({KeyF12});
    if (poll == 2) sys->keys.Push({});
    if (poll == 4) sys->keys.Push({KeyF12});
    if (poll == 5) sys->keys.Push({});
  };
  Run();
  ASSERT_GE(scene.times.size(), 5u);
  EXPECT_EQ(scene.times[1], scene.times[2]);
  EXPECT_EQ(scene.times[2], scene.times[3]);
  EXPECT_GT(scene.times[4], scene.times[3]);
  EXPECT_LT(scene.times[4] - scene.times[3], 0.1f);
}

TEST_F(Show, MTogglesTheCharacterInTheFourthSceneOnly) {
  scene.framesPerScene = 2;
  // M pressed in the first scene does nothing; pressed on the second frame of the fourth scene hides it.
  sys->keys.beforePoll = [&](int poll) {
    if (poll == 0 || poll == 7) sys->keys.Push({KeyM});
    if (poll == 1 || poll == 8) sys->keys.Push({});
  };
  Run();
  EXPECT_EQ(Count("character.Draw"), 1u);
  EXPECT_EQ(Count("character.Skin"), 2u);
}

TEST_F(Show, NoDataDirectoryNameIsTheFatalErreurUnpacking) {
  pack.named = false;
  EXPECT_EQ(ExitOf([&] { Run(); }), -1);
  EXPECT_EQ(sys->boxes.at(0).text, "Erreur Unpacking");
  EXPECT_EQ(Matching("scene.").size(), 0u);
  EXPECT_EQ(Matching("pack.Delete").size(), 0u);
}

TEST_F(Show, ADataDirectoryWithNoRoomForFileNamesIsRefusedAndRemovedByTheFatalEnd) {
  pack.directory = "/tmp/" + std::string(kDataPathSize - 20, 'd');
  EXPECT_EQ(ExitOf([&] { Run(); }), -1);
  EXPECT_EQ(sys->boxes.at(0).text, "Data directory path too long (" + pack.directory + ")");
  EXPECT_EQ(Matching("pack."), std::vector<std::string>{"pack.Delete(" + pack.directory + ")"});
}

// Two cameras, the newer on a track as long as the scene's overlays; a lamp and a triangle on tracks of their own.
std::vector<uint8_t> TwoCameraScene() {
  const uint32_t frames = static_cast<uint32_t>(ShowSceneSeconds(kCharacterScene) * 25) + 1;
  const TargCamKey shot = {{0, -20, 5}, 0, {0, 0, 0}, 0, 0.8f, 0};
  Qz3Writer w;
  w.Material(MaterialRecord("Red", 0));
  w.LightTrack(LightTrackRecord("Lamp", LightOmni, frames, frames - 1, 25), {{255, 255, 255, 0, {0, 0, 9}, 0}, {}});
  w.Light(LightRecord("Lamp", 0, LightOmni));
  w.ObjectTrack(ObjectTrackRecord("Tri", frames, frames - 1, 25),
                std::vector<ObjKey>(2, {{}, 0, {1, 1, 1}, 0, {1, 0, 0, 0}}));
  w.MeshObject(
      MeshRecord("Tri", 1),
      {LitPatch(0, {{{0, 0, 0}, {0, -1, 0}, 0, 0}, {{1, 0, 0}, {0, -1, 0}, 1, 0}, {{0, 0, 1}, {0, -1, 0}, 0, 1}},
                {0, 1, 2})});
  w.CameraTrack(CameraTrackRecord("Cam2", CameraTrackTarget, frames, frames - 1, 25), {shot, shot});
  w.Camera(CameraRecord("Cam1", 0, 0.5f, {0, -10, 0}, {0, 0, 0}));
  w.Camera(CameraRecord("Cam2", 1, 0.4f, shot.position, shot.target));
  w.End();
  return w.Bytes();
}

// Keeps the material of the last patch drawn.
class PatchMaterial : public RecordingRenderer {
 public:
  Material* material = nullptr;
  int32_t DrawPatch(Patch* patch) override {
    material = patch->material;
    return RecordingRenderer::DrawPatch(patch);
  }
};

struct SetClock : FrameClock {
  float seconds = 0.5f;
  float Elapsed() override { return seconds; }
};

// The fourth scene set up by the driver from a data folder: the scene above with the show's own overlays, font and
// character.
class CharacterScene : public testing::Test {
 protected:
  void SetUp() override {
    CurrentRenderer = &renderer;
    // The show's files up to the fourth scene, whose scene file is replaced.
    ASSERT_TRUE(WriteDataFiles(dir.Path().string(), BuildShowFilesWithoutMusic(kCharacterScene + 1, ShowSceneSeconds)));
    dir.Write(kShowSceneFiles[kCharacterScene].sceneFile, TwoCameraScene());
    SetUpScene(parts, dir.Path().string().c_str(), kCharacterScene, false);
  }
  void TearDown() override {
    TearDownScene(parts);
    CurrentRenderer = nullptr;
    CurrentView = nullptr;
  }
  bool Frame() { return DrawShowFrame(parts, kCharacterScene, clock, state); }

  ScopedFakePlatform sys;
  PatchMaterial renderer;
  Scratch dir;
  ShowScene scene;
  ShowOverlays overlays{scene};
  ShowCharacter character{scene};
  FakeMusic music;
  FakePack pack;
  ShowParts parts{scene, overlays, character, music, pack};
  SetClock clock;
  CharacterState state;
};

TEST_F(CharacterScene, TheViewShowsTheNewestCameraAndTheCharacterStandsInItsMaterial) {
  const View& view = *scene.SceneView();
  World& world = *scene.SceneWorld();
  EXPECT_EQ(world.view, &view);
  EXPECT_EQ(view.camera, world.registry.FindByNameAndKind("Cam2", ElementCamera)) << "the camera read last";
  EXPECT_EQ((std::vector<float>{view.left, view.top, view.right, view.bottom, view.nearPlane, view.farPlane}),
            (std::vector<float>{0, 0, 800, 600, 1, 500}));
  const Material& matMotion = *scene.CharacterMaterial();
  EXPECT_EQ(&matMotion, world.registry.FindByNameAndKind("MatMotion", ElementMaterial));
  EXPECT_EQ((std::vector<uint32_t>{matMotion.ambient.Word(), matMotion.diffuse.Word(), matMotion.emissive.Word(),
                                   matMotion.specular.Word(), matMotion.textureCount}),
            (std::vector<uint32_t>{0x0A0A0A, 0xC81414, 0x230F0F, 0xFFFFFF, 0}));
  EXPECT_EQ(matMotion.specularLevel, 1000.0f);
  EXPECT_EQ(matMotion.shininess, 1.0f);

  ASSERT_FALSE(Frame());
  EXPECT_EQ(renderer.CallsTo("SetWorldMatrix").back(), "SetWorldMatrix(0, 0, 7)");
  EXPECT_EQ(renderer.material, &matMotion);
  EXPECT_EQ(renderer.CallsTo("DrawPatch").size(), 2u) << "the triangle, then the character";
  EXPECT_FALSE(renderer.CallsTo("Draw2D").empty()) << "the overlays";
}

// The scene, its lights and tracks, the character and the overlays through the scene's length.
TEST_F(CharacterScene, AWholeFrameAllocatesNothing) {
  renderer.logCalls = false;
  const long before = AllocationCount();
  for (clock.seconds = 0; clock.seconds < ShowSceneSeconds(kCharacterScene); clock.seconds += 0.25f) {
    ASSERT_FALSE(Frame()) << clock.seconds;
  }
  EXPECT_EQ(AllocationCount() - before, 0);
}

TEST_F(Show, OptionsStartPartWayWithTheTrackPlayingThereAndAskForAWindow) {
  const std::string open3 = "music.Open(" + P("mp33.mp3") + ")";
  struct Case {
    int firstScene;
    const char* firstFile;
    std::vector<std::string> music;
  } cases[] = {
      {1,
       "scene2.qz3",
       {"music.Open(" + P("mp32.mp3") + ")", "music.Start", "music.Stop", open3, "music.Start", "music.Stop"}},
      {2, "scene3.qz3", {open3, "music.Start", "music.Stop"}},
      {5, "scene6.qz3", {open3, "music.Start", "music.Stop"}},
  };
  for (const Case& c : cases) {
    g_log.clear();
    ASSERT_EQ(RunShow({scene, overlays, character, music, pack}, RendererGL, nullptr, {true, c.firstScene}), 0);
    EXPECT_EQ(Count("Init(800, 600, 32, 16, 0, null, 1)"), 1u) << "windowed";
    std::vector<std::string> builds = Matching("scene.Build");
    ASSERT_EQ(builds.size(), static_cast<size_t>(kSceneCount - c.firstScene));
    EXPECT_EQ(builds[0], "scene.Build(" + P(c.firstFile) + ", " + P("police1.bmp") + ")");
    EXPECT_EQ(Matching("music."), c.music) << "from scene " << c.firstScene + 1;
    EXPECT_LT(IndexOf(c.music[0]), IndexOf("scene.ShowNewestCamera")) << "opened before the scene's clock starts";
  }
}

}  // namespace
