// qz2-tool scene: the printed elements, the animated frames, and hostile files.
#include "scene/light.h"
#include "tests/scene_fixture.h"
#include "tests/tool_run.h"

namespace {

using SceneTool = SceneTest;

TEST_F(SceneTool, PrintsElementsInFileOrderEachFrameAndTheWarnings) {
  Qz3Writer w;
  w.Material(MaterialRecord("Mat", 0));
  w.CameraTrack(CameraTrackRecord("Cam", CameraTrackTarget, 11, 1, 10.0f),
                std::vector<TargCamKey>(12, TargCamKey{{0, -10, 0}, 0, {0, 0, 0}, 0, 1.0f, 0.0f}));
  w.Camera(CameraRecord("Cam", 0, 0.5f, {0, -10, 0}, {0, 0, 0}));
  w.Light(LightRecord("Sun", 0, LightDirectional));
  w.Light(LightRecord("Fill", 1, LightOmni));
  w.MeshObject(MeshRecord("Box", 1),
               {LitPatch(0, {{{-1, -1, -1}, {0, 0, 1}, 0, 0}, {{1, 1, 1}, {0, 0, 1}, 0, 0}}, {0, 1, 1})});
  w.MeshObject(MeshRecord("Loose", 1), {LitPatch(kQz3NoIndex, {{{0, 0, 0}, {0, 0, 1}, 0, 0}}, {0, 0, 0})});
  w.End();
  std::string out, err;
  EXPECT_EQ(RunTool("scene " + Save(w) + " --time 0.25 --time 2", out, err), 0) << err;
  EXPECT_TRUE(Has(out, R"("materials":[{"name":"Mat","mode":0,"ambient":"0x00000000")")) << out;
  EXPECT_TRUE(Has(out, R"("lights":[{"name":"Sun","type":3)")) << "file order, not list order";
  EXPECT_TRUE(Has(out, R"("track":"@Cam")"));
  EXPECT_TRUE(Has(out, R"("patches":[{"kind":4,"material":"Mat","vertexCount":2,"indexCount":3}])"));
  EXPECT_TRUE(
      Has(out, R"({"name":"@Cam","kind":8,"subtype":1,"frames":11,"step":1,"fps":10,"keyCount":12,"duration":1})"));
  EXPECT_TRUE(Has(out, R"("shownCamera":"Cam")"));
  EXPECT_TRUE(Has(out, R"({"time":0.25,"ended":false,"key":2,"frac":0.5,"camera":{"position":[0,-10,0])"));
  EXPECT_TRUE(Has(out, R"("meshes":[{"name":"Box","visible":true,"worldMatrix":[1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1]})"));
  EXPECT_TRUE(Has(out, R"({"time":2,"ended":true,"key":null,"frac":null)"));
  // Warnings are answered OK and listed.
  EXPECT_TRUE(Has(out, R"("material":null)"));
  EXPECT_TRUE(Has(out, R"("warnings":["No Material on Patch at export"]})"));
}

TEST_F(SceneTool, HostileFilePrintsTheMessageAndExits255) {
  Qz3Writer w;
  w.ObjectTrack(ObjectTrackRecord("Box", 1000000, 1, 25.0f), {});
  w.End();
  std::string out, err;
  EXPECT_EQ(RunTool("scene " + Save(w), out, err), 255);
  EXPECT_EQ(err, "Move File error\n");
  EXPECT_TRUE(out.empty());
}

TEST(Tool, HelpIsAnAnswerAndAMissingOrUnknownCommandIsNot) {
  const struct {
    const char* args;
    int status;
    bool usageOnStdout;
  } cases[] = {{"--help", 0, true}, {"-h", 0, true}, {"", 2, false}, {"bogus", 2, false}};
  for (const auto& c : cases) {
    std::string out, err;
    EXPECT_EQ(RunTool(c.args, out, err), c.status) << c.args;
    EXPECT_TRUE(Has(c.usageOnStdout ? out : err, "qz2-tool scene FILE.qz3")) << c.args;
  }
}

}  // namespace
