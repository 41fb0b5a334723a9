// qz2-content: writes the default show's data pack "PACK.ZUL" into a directory, the same bytes on every build.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/file.h"
#include "driver/show_files.h"
#include "tools/content/file_writer.h"
#include "tools/content/pack_files.h"
#include "tools/content/rar_writer.h"
#include "tools/content/show_music.h"
#include "tools/content/show_scenes.h"

namespace {

constexpr size_t kMp3MaxBytes = 64u << 20;
constexpr int kShortPackScenes = 2;

float ShortSceneSeconds(int) { return 2.0f; }

// Encodes a track with lame: joint stereo, 160 kbit/s, no info frame.
bool EncodeTrack(const std::string& work, int track, float seconds, std::vector<uint8_t>& mp3) {
  std::vector<int16_t> pcm = SynthesiseShowTrack(track, seconds);
  std::string raw = work + "/track" + std::to_string(track) + ".raw";
  std::string out = work + "/track" + std::to_string(track) + ".mp3";
  if (!WriteBytesFile(raw.c_str(), pcm.data(), pcm.size() * sizeof(int16_t))) return false;
  bool ok = EncodeWithLame(raw, out, "-m j -b 160") && File_ReadAll(out.c_str(), kMp3MaxBytes, mp3);
  std::remove(raw.c_str());
  std::remove(out.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  // --short: the first two scenes of two seconds each and one track, a pack small enough for tests.
  // --variety: the variety pack's files, unpacked, a data directory for qz2-tool render.
  const bool shortPack = argc == 3 && std::strcmp(argv[1], "--short") == 0;
  const bool variety = argc == 3 && std::strcmp(argv[1], "--variety") == 0;
  if (argc != 2 && !shortPack && !variety) {
    std::fputs("usage: qz2-content [--short | --variety] OUTPUT_DIRECTORY\n", stderr);
    return 2;
  }
  const std::string out = argv[argc - 1];
  if (variety) {
    if (WriteDataFiles(out, BuildVarietyFiles())) return 0;
    std::fprintf(stderr, "qz2-content: could not write the variety pack into %s\n", out.c_str());
    return 1;
  }
  const int scenes = shortPack ? kShortPackScenes : kSceneCount;
  float (*sceneSeconds)(int) = shortPack ? ShortSceneSeconds : ShowSceneSeconds;
  std::vector<RarEntry> entries = BuildShowFilesWithoutMusic(scenes, sceneSeconds);

  // Each track lasts from the scene that opens it until the next scene that opens one, and a second more.
  int track = 0;
  for (int first = 0; first < scenes && !(shortPack && track == 1); ++first) {
    const char* name = kShowSceneFiles[first].musicFile;
    if (!name) continue;
    float seconds = 1.0f;
    int scene = first;
    do {
      seconds += sceneSeconds(scene++);
    } while (scene < scenes && !kShowSceneFiles[scene].musicFile);
    std::vector<uint8_t> mp3;
    if (!EncodeTrack(out, ++track, seconds, mp3)) {
      std::fprintf(stderr, "qz2-content: could not encode %s with lame\n", name);
      return 1;
    }
    entries.push_back({name, mp3});
  }

  std::vector<uint8_t> archive;
  if (!WriteRar4(entries, archive) || !WriteBytesFile((out + "/" + kPackFile).c_str(), archive)) {
    std::fprintf(stderr, "qz2-content: could not write %s/%s\n", out.c_str(), kPackFile);
    return 1;
  }
  return 0;
}
