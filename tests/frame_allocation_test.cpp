// The work of every frame allocates nothing: the show's music decoded on each synthesis path, its character posed
// and skinned, its overlay files drawn. This suite's own operator new counts the calls.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "driver/show_files.h"
#include "music/mp3_decoder.h"
#include "overlay/character.h"
#include "overlay/overlays.h"
#include "scene/view.h"
#include "tests/scene_fixture.h"
#include "tools/content/show_character.h"
#include "tools/content/show_font.h"
#include "tools/content/show_music.h"
#include "tools/content/show_overlays.h"
#include "tools/content/show_scenes.h"

namespace {

std::atomic<long> g_allocations{0};

// Out of line, so that the compiler does not pair the replaced operator new with free.
[[gnu::noinline]] void FreeBlock(void* p) noexcept { std::free(p); }

}  // namespace

void* operator new(size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { FreeBlock(p); }
void operator delete(void* p, size_t) noexcept { FreeBlock(p); }

namespace {

class NullSink : public OutputSink {
 public:
  void Begin(int32_t) override {}
  bool Write(const int16_t*, uint32_t) override { return true; }
  void End() override {}
};

// Keeps no log of the quads: what allocates is the overlays' own work.
class QuadSink : public RecordingRenderer {
 public:
  int32_t Draw2D(PrimitiveKind, ScreenVertex*, uint32_t, Material*) override { return 0; }
};

using FrameWork = WorldFixture<QuadSink>;

TEST_F(FrameWork, AllocatesNothing) {
  // Two seconds of the first track, encoded as the content builder encodes the show's.
  const std::vector<int16_t> pcm = SynthesiseShowTrack(1, 2.0f);
  const std::string raw = scratch.Write("track.raw", reinterpret_cast<const uint8_t*>(pcm.data()), pcm.size() * 2);
  const std::string mp3 = scratch.Path("track.mp3");
  ASSERT_TRUE(EncodeWithLame(raw, mp3, "-m j -b 160"));
  for (SynthPath path : {SynthPath::Plain, SynthPath::Sse2, SynthPath::Avx2}) {
    if (!SynthPathSupported(path)) continue;
    NullSink sink;
    Mp3Decoder decoder;
    ASSERT_TRUE(TrackOpen(decoder, mp3.c_str()));
    decoder.synth.path = path;
    int frames = 0;
    const long before = g_allocations;
    while (TrackPlayFrame(decoder, sink) == TrackStatus::Playing) ++frames;
    EXPECT_EQ(g_allocations - before, 0) << "path " << int(path);
    EXPECT_GT(frames, 70);
    TrackClose(decoder, sink);
  }

  BoneAnimation animation;
  animation.Load(scratch.Write(kCharacterAnimationFile, BuildShowAnimation()).c_str());
  SkinMesh mesh;
  mesh.Load(scratch.Write(kCharacterMeshFile, BuildShowMesh()).c_str());
  BoneSet bones;
  bones.Create(animation.boneCount);
  ASSERT_GT(animation.frameCount, 0u);
  long before = g_allocations;
  for (uint32_t frame = 0; frame < animation.frameCount; ++frame) {
    animation.PoseBones(bones, frame);
    mesh.SkinVertices(bones);
  }
  EXPECT_EQ(g_allocations - before, 0) << "the character";
  mesh.Release();
  bones.Release();
  animation.Release();

  scratch.Write(kFontFile, BuildShowFont());
  for (const ShowImage& image : BuildShowOverlayImages()) scratch.Write(image.name, image.bitmap);
  View* view = new View("View1", 0, 0, 1.0f, 800.0f, 600.0f, 500.0f, 1, &world);
  for (int i = 0; i < kSceneCount; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, kOverlayFileFormat, i + 1);
    const std::string file = scratch.Write(name, BuildShowOverlays(i));
    OverlaySet* set = LoadOverlays("2D", file.c_str(), &world, scratch.Path().string().c_str());
    renderer.Begin2D(view);
    before = g_allocations;
    for (float t = 0; t < ShowSceneSeconds(i); t += 0.1f) DrawOverlays(set, t);
    EXPECT_EQ(g_allocations - before, 0) << name;
    renderer.End2D();
  }
}

}  // namespace
