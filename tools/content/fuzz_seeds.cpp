// qz2-fuzz-seeds: writes the fuzz targets' seed corpora, one folder per target, with the content writers and lame.
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "scene/light.h"
#include "scene/move.h"
#include "scene/texture.h"
#include "tools/content/bmp_writer.h"
#include "tools/content/character_writer.h"
#include "tools/content/file_writer.h"
#include "tools/content/overlay_writer.h"
#include "tools/content/qz3_writer.h"
#include "tools/content/rar_writer.h"
#include "tools/content/show_character.h"
#include "tools/content/show_music.h"
#include "tools/content/show_overlays.h"

namespace {

namespace fs = std::filesystem;

bool WriteSeed(const fs::path& folder, const char* name, const std::vector<uint8_t>& bytes) {
  return WriteBytesFile((folder / name).c_str(), bytes);
}

Qz3PatchData Square(uint32_t materialIndex) {
  return LitPatch(materialIndex,
                  {{{-1, -1, 0}, {0, 0, 1}, 0, 0},
                   {{1, -1, 0}, {0, 0, 1}, 1, 0},
                   {{1, 1, 0}, {0, 0, 1}, 1, 1},
                   {{-1, 1, 0}, {0, 0, 1}, 0, 1}},
                  {0, 1, 2, 0, 2, 3});
}

Qz3PatchData ColouredTriangle(uint32_t materialIndex) {
  return ColouredPatch(materialIndex,
                       {{{0, 0, 0}, {}, 0xFFFF0000, 0, 0, 0},
                        {{1, 0, 0}, {}, 0xFF00FF00, 0, 1, 0},
                        {{0, 1, 0}, {}, 0xFF0000FF, 0, 0, 1}},
                       {0, 1, 2});
}

// A scene with every chunk kind: tracks first, so that the elements read after them find theirs.
std::vector<uint8_t> FullScene(bool freeCamera, uint32_t lightType) {
  Qz3Writer w;
  const uint32_t frames = 20, step = 10;
  const size_t keys = frames / step + 1;
  w.ObjectTrack(ObjectTrackRecord("Box", frames, step, 30),
                std::vector<ObjKey>(keys, ObjKey{{0, 0, 0}, 0, {1, 1, 1}, 0, {1, 0, 0, 0}}));
  if (freeCamera) {
    w.CameraTrack(CameraTrackRecord("Cam", CameraTrackFree, frames, step, 30),
                  std::vector<FreeCamKey>(keys, FreeCamKey{{0, -10, 0}, {}, {1, 0, 0, 0}, 0.8f}));
  } else {
    w.CameraTrack(CameraTrackRecord("Cam", 0, frames, step, 30),
                  std::vector<TargCamKey>(keys, TargCamKey{{0, -10, 0}, 0, {0, 0, 0}, 0, 0.8f, 0}));
  }
  if (lightType == LightSpot) {
    w.LightTrack(
        LightTrackRecord("Lamp", LightSpot, frames, step, 30),
        std::vector<SpotLightKey>(keys, SpotLightKey{255, 200, 100, 0, 0, 0.3f, 0.6f, {0, 0, 5}, 0, {0, 0, -1}, 0}));
  } else {
    w.LightTrack(LightTrackRecord("Lamp", LightOmni, frames, step, 30),
                 std::vector<OmniLightKey>(keys, OmniLightKey{255, 255, 255, 0, {0, 0, 5}, 0}));
  }
  Qz3Texture texture = TextureRecord("Checker", 0, 2, 2);
  w.Texture(texture, std::vector<uint8_t>(texture.pixelBytes, 0x80));
  w.Material(MaterialRecord("Plain", 0));
  w.Material(MaterialRecord("Textured", 1, 0));
  w.Camera(CameraRecord("Cam", 0, 0.8f, {0, -10, 0}, {0, 0, 0}));
  w.Light(LightRecord("Lamp", 0, lightType));
  w.MeshObject(MeshRecord("Box", 2), {Square(1), ColouredTriangle(0)});
  w.End();
  return w.Bytes();
}

bool SceneSeeds(const fs::path& folder) {
  Qz3Writer empty;
  empty.End();
  return WriteSeed(folder, "empty.qz3", empty.Bytes()) &&
         WriteSeed(folder, "target_omni.qz3", FullScene(false, LightOmni)) &&
         WriteSeed(folder, "free_spot.qz3", FullScene(true, LightSpot));
}

// Short lame streams of every kind the decoder meets: the stereo modes, check words, the lower rates, a tag.
bool Mp3Seeds(const fs::path& folder) {
  std::vector<int16_t> pcm = SynthesiseShowTrack(3, 0.3f);
  fs::path raw = folder / "music.raw";
  if (!WriteBytesFile(raw.c_str(), pcm.data(), pcm.size() * sizeof(int16_t))) return false;
  const struct {
    const char* name;
    const char* options;
  } kinds[] = {
      {"joint.mp3", "-m j -b 64"},
      {"mono.mp3", "-m m -b 32"},
      {"stereo_crc.mp3", "-m s -b 96 -p"},
      {"midside.mp3", "-m f -b 64"},
      {"lsf.mp3", "--resample 22.05 -b 32"},
      {"mpeg25.mp3", "--resample 8 -b 16"},
      {"id3v2.mp3", "-m m -b 32 --add-id3v2 --tt Seed"},
  };
  bool ok = true;
  for (const auto& kind : kinds) {
    std::error_code error;
    fs::path out = folder / kind.name;
    ok = ok && EncodeWithLame(raw.string(), out.string(), kind.options) && fs::file_size(out, error) > 0;
  }
  fs::remove(raw);
  return ok;
}

bool RarSeeds(const fs::path& folder, const std::vector<uint8_t>& scene) {
  const uint8_t pixel[3] = {1, 2, 3};
  std::vector<RarEntry> entries(4);
  entries[0] = {"data", {}, true};
  entries[1] = {"data/sub/notes.txt", {'h', 'i', '\n'}};
  entries[2] = {"data\\empty.bin", {}};
  entries[3] = {"police1.bmp", EncodeBmp24(1, 1, pixel)};
  std::vector<uint8_t> one, many;
  return WriteRar4({{"scene1.QZ3", scene}}, one) && WriteSeed(folder, "one.rar", one) && WriteRar4(entries, many) &&
         WriteSeed(folder, "many.rar", many);
}

// One seed per kind: 6 x 4 with runs, single pixels and seven colours, two colours for the 1-bit kind.
bool BmpSeeds(const fs::path& folder) {
  BmpPicture many{6, 4, {}}, two{6, 4, {}};
  for (int i = 0; i < 24; ++i) {
    auto c = static_cast<uint8_t>(i * i / 5 % 7);
    many.rgb.insert(many.rgb.end(),
                    {static_cast<uint8_t>(c * 40), static_cast<uint8_t>(255 - c * 30), static_cast<uint8_t>(c * 17)});
    two.rgb.insert(two.rgb.end(), {static_cast<uint8_t>(c % 2 * 200), 90, 30});
  }
  const std::pair<const char*, BmpKind> kinds[] = {
      {"core24.bmp", BmpKind::Core24},
      {"core8.bmp", BmpKind::Core8},
      {"info4.bmp", BmpKind::Info4},
      {"info8.bmp", BmpKind::Info8},
      {"info16_555.bmp", BmpKind::Info16_555},
      {"info16_565.bmp", BmpKind::Info16_565Bitfields},
      {"info24.bmp", BmpKind::Info24},
      {"info32.bmp", BmpKind::Info32},
      {"info32_fields.bmp", BmpKind::Info32Bitfields},
      {"rle8.bmp", BmpKind::Rle8},
      {"rle4.bmp", BmpKind::Rle4},
      {"v4_24.bmp", BmpKind::V4_24},
      {"v5_32_fields.bmp", BmpKind::V5_32Bitfields},
      {"top_down24.bmp", BmpKind::TopDown24},
  };
  bool ok = WriteSeed(folder, "info1.bmp", BuildBmp(two, BmpKind::Info1));
  for (const auto& [name, kind] : kinds) ok = ok && WriteSeed(folder, name, BuildBmp(many, kind));
  return ok;
}

bool IniSeeds(const fs::path& folder) {
  const std::string texts[] = {
      "[CONFIG]\nColor=1\nFiltering=0\n",
      "; the viewer's choice\r\n [ config ] \r\n  color =  16bits \r\nFILTERING=-3\r\nx=\r\n",
      "[OTHER]\nColor=+4294967295\n[CONFIG\nFiltering\n[CONFIG]\nColor=2147483648",
  };
  for (size_t i = 0; i < std::size(texts); ++i) {
    std::string name = "config" + std::to_string(i) + ".ini";
    if (!WriteBytesFile((folder / name).c_str(), texts[i].data(), texts[i].size())) return false;
  }
  return true;
}

// The show's own overlay files, and small ones with every kind of element and a partial record.
bool OverlaySeeds(const fs::path& folder) {
  OverlayRecord text = TextOverlayRecord("police1.bmp", "Title", "Ab 12!", 26, 32, 1, 0.5f, 2.0f);
  text.scale1 = 2;
  text.alpha0 = 0;
  OverlayRecord full = ImageOverlayRecord("fade.bmp", "Fade", 4, 0, 0);
  OverlayRecord moving = ImageOverlayRecord("star.bmp", "Star", 2, 1, 3);
  moving.x1 = 0.9f;
  moving.alpha1 = 0;
  std::vector<uint8_t> partial = OverlayFileBytes({text, full, moving});
  partial.resize(partial.size() - 40);
  return WriteSeed(folder, "over1.dat", BuildShowOverlays(0)) && WriteSeed(folder, "over9.dat", BuildShowOverlays(8)) &&
         WriteSeed(folder, "partial.dat", partial);
}

// Two bones over three frames; the show's dance is larger than a fuzz input.
bool AnimationSeeds(const fs::path& folder) {
  std::vector<PoseRecord> poses;
  for (int f = 0; f < 3; ++f) {
    poses.push_back(PoseFromRotation({1, 0, 0, 0}, {0, 0, static_cast<float>(f)}));
    poses.push_back(PoseFromRotation({0.7071f, 0, 0, 0.7071f}, {1, 2, 3}));
  }
  std::vector<uint8_t> show = BuildShowAnimation();
  show.resize(4 + 10 * 12 * 2);
  show[2] = 2, show[3] = 0;  // the show's first two frames
  return WriteSeed(folder, "two_bones.qza", AnimationFileBytes(2, 3, poses)) && WriteSeed(folder, "show.qza", show);
}

// A square over two bones, with one, two and three influences and a bone past the set.
bool MeshSeeds(const fs::path& folder) {
  std::vector<SkinVertexRecord> v;
  for (Vec3 p : {Vec3{-1, -1, 0}, Vec3{-1, 1, 0}, Vec3{1, 1, 0}, Vec3{1, -1, 0}}) {
    v.push_back(RigidVertex(0, p, {0, 0, 1}, 0, 1));
  }
  v[1].influenceCount = 2;
  v[1].influences[1] = {0, 1, 0, 0.5f, 1, {}};
  v[2].influenceCount = 3;
  v[2].influences[1] = {1, 0, 0, 0.25f, 1, {}};
  v[2].influences[2] = {0, 0, 1, 0.25f, 7, {}};
  return WriteSeed(folder, "square.qzb", MeshFileBytes(4, 2, v, {0, 1, 2, 0, 2, 3}));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: qz2-fuzz-seeds OUTPUT_DIRECTORY\n", stderr);
    return 2;
  }
  const fs::path out = argv[1];
  const char* targets[] = {"scene_file", "mp3_track",    "rar4_archive",        "bmp_file",
                           "ini_file",   "overlay_file", "character_animation", "character_mesh"};
  std::error_code error;
  for (const char* target : targets) fs::create_directories(out / target, error);
  if (error) {
    std::fprintf(stderr, "qz2-fuzz-seeds: cannot make the folders in %s\n", out.c_str());
    return 1;
  }
  bool ok = SceneSeeds(out / "scene_file") && Mp3Seeds(out / "mp3_track") &&
            RarSeeds(out / "rar4_archive", FullScene(false, LightOmni)) && BmpSeeds(out / "bmp_file") &&
            IniSeeds(out / "ini_file") && OverlaySeeds(out / "overlay_file") &&
            AnimationSeeds(out / "character_animation") && MeshSeeds(out / "character_mesh");
  if (!ok) {
    std::fprintf(stderr, "qz2-fuzz-seeds: could not write every seed into %s\n", out.c_str());
    return 1;
  }
  return 0;
}
