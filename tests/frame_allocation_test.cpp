// The work of every frame allocates nothing: the show's music decoded on each synthesis path and every overlay file
// of the show drawn through its scene (the driver's suite takes a whole frame of the character's scene).
#include <gtest/gtest.h>

#include <cstdio>

#include "driver/show_files.h"
#include "music/mp3_decoder.h"
#include "overlay/overlays.h"
#include "scene/view.h"
#include "tests/allocation_count.h"
#include "tests/null_sink.h"
#include "tests/scene_fixture.h"
#include "tools/content/pack_files.h"
#include "tools/content/show_music.h"
#include "tools/content/show_scenes.h"

namespace {

using FrameWork = SceneTest;

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
    const long before = AllocationCount();
    while (TrackPlayFrame(decoder, sink) == TrackStatus::Playing) ++frames;
    EXPECT_EQ(AllocationCount() - before, 0) << "path " << int(path);
    EXPECT_GT(frames, 70);
    TrackClose(decoder, sink);
  }

  ASSERT_TRUE(WriteDataFiles(scratch.Path().string(), BuildShowFilesWithoutMusic(kSceneCount, ShowSceneSeconds)));
  View* view = new View("View1", 0, 0, 1.0f, 800.0f, 600.0f, 500.0f, 1, &world);
  renderer.logCalls = false;
  for (int i = 0; i < kSceneCount; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, kOverlayFileFormat, i + 1);
    OverlaySet* set = LoadOverlays("2D", scratch.Path(name).c_str(), &world, scratch.Path().string().c_str());
    renderer.Begin2D(view);
    const long before = AllocationCount();
    for (float t = 0; t < ShowSceneSeconds(i); t += 0.1f) DrawOverlays(set, t);
    EXPECT_EQ(AllocationCount() - before, 0) << name;
    renderer.End2D();
  }
}

}  // namespace
