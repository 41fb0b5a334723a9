// qz2-tool overlay and skin: the quads drawn at each time, the skinned vertices of each frame, and hostile files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support.h"
#include "tests/tool_run.h"
#include "tools/content/bmp_writer.h"
#include "tools/content/character_writer.h"
#include "tools/content/overlay_writer.h"

namespace {

class OverlayTool : public testing::Test {
 protected:
  std::string Save(const char* name, const std::vector<uint8_t>& bytes) { return scratch.Write(name, bytes); }

  Scratch scratch;
  const std::string dir_ = scratch.Path().string();
};

TEST_F(OverlayTool, OverlayPrintsEveryQuadDrawnAtEachTime) {
  std::vector<uint8_t> black(4 * 2 * 3);
  Save("pic.bmp", EncodeBmp24(4, 2, black.data()));
  OverlayRecord r = ImageOverlayRecord("pic.bmp", "Pic", 3, 0, 1);
  r.x0 = r.x1 = 0.5f, r.y0 = r.y1 = 0.5f;
  std::string file = Save("over.dat", OverlayFileBytes({r}));
  std::string out, err;
  EXPECT_EQ(RunTool("overlay " + file + " --data " + dir_ + " --time 0.5 --time 2", out, err), 0) << err;
  EXPECT_TRUE(Has(out, R"({"frames":[{"time":0.5,"draws":[{"kind":6,"mode":3,"texture":"pic.bmp","vertices":)"
                       R"([[400,300,0,1,"0xFFFFFFFF","0x00000000",0,0],[400,302,0,1,"0xFFFFFFFF","0x00000000",0,1],)"))
      << out;
  EXPECT_TRUE(Has(out, R"({"time":2,"draws":[]}],"warnings":[]})")) << out;
}

TEST_F(OverlayTool, SkinPrintsEachFramesVerticesAndHostileFilesEndWith255) {
  std::string animation =
      Save("rap.qza", AnimationFileBytes(1, 2, {{0, 0, 256, 0, 0, 0, 127}, {0, 0, 512, 0, 0, 0, 127}}));
  std::vector<SkinVertexRecord> vertices(3, RigidVertex(0, {0, 0, 0}, {0, 0, 1}, 0.5f, 0.25f));
  std::string mesh = Save("rap.qzb", MeshFileBytes(3, 1, vertices, {0, 1, 2}));
  std::string out, err;
  EXPECT_EQ(RunTool("skin " + animation + " " + mesh + " --frame 1 --frame 0", out, err), 0) << err;
  EXPECT_TRUE(Has(out, R"({"bones":1,"frames":2,"vertexCount":3,"triangleCount":1,"poses":[{"frame":1,"vertices":)"
                       R"([[0,0,2,0,0,0.984436035,0.5,0.25],)"))
      << out;
  EXPECT_TRUE(Has(out, R"({"frame":0,"vertices":[[0,0,1,)")) << out;

  std::vector<uint8_t> wrong = MeshFileBytes(0, 0, {}, {});
  wrong[0] = 0;
  EXPECT_EQ(RunTool("skin " + animation + " " + Save("bad.qzb", wrong) + " --frame 0", out, err), 255);
  EXPECT_EQ(err, "Wrong Mesh File\n");
  EXPECT_EQ(RunTool("overlay " + dir_ + "/none.dat --data " + dir_, out, err), 255);
  EXPECT_EQ(err, "Error opening File (" + dir_ + "/none.dat)\n");
}

}  // namespace
