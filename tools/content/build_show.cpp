// qz2-content: writes the default show's data pack "PACK.ZUL" into a directory, the same bytes on every build.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/content/rar_writer.h"
#include "tools/content/show_font.h"
#include "tools/content/show_music.h"
#include "tools/content/show_scenes.h"

namespace {

bool WriteFile(const std::string& path, const void* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  bytes.clear();
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(f);
  return true;
}

// Encodes a track with lame: joint stereo, 160 kbit/s, no info frame.
bool EncodeTrack(const std::string& work, int track, float seconds, std::vector<uint8_t>& mp3) {
  std::vector<int16_t> pcm = SynthesiseShowTrack(track, seconds);
  std::string raw = work + "/track" + std::to_string(track) + ".raw";
  std::string out = work + "/track" + std::to_string(track) + ".mp3";
  if (!WriteFile(raw, pcm.data(), pcm.size() * sizeof(int16_t))) return false;
  std::string command = "lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -m j -b 160 -t '" + raw +
                        "' '" + out + "' 2>/dev/null";
  bool ok = std::system(command.c_str()) == 0 && ReadFile(out, mp3);
  std::remove(raw.c_str());
  std::remove(out.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: qz2-content OUTPUT_DIRECTORY\n", stderr);
    return 2;
  }
  const std::string out = argv[1];
  std::vector<RarEntry> entries;
  for (int i = 0; i < kShowScenes; ++i) {
    std::string name = i == 0 ? "scene1.QZ3" : "scene" + std::to_string(i + 1) + ".qz3";
    entries.push_back({name, BuildShowScene(i)});
  }
  entries.push_back({"police1.bmp", BuildShowFont()});

  // The third track plays on under every scene after its own.
  float seconds[3] = {ShowSceneSeconds(0), ShowSceneSeconds(1), 0};
  for (int i = 2; i < kShowScenes; ++i) seconds[2] += ShowSceneSeconds(i);
  for (int track = 1; track <= 3; ++track) {
    std::vector<uint8_t> mp3;
    if (!EncodeTrack(out, track, seconds[track - 1] + 1.0f, mp3)) {
      std::fprintf(stderr, "qz2-content: could not encode track %d with lame\n", track);
      return 1;
    }
    entries.push_back({"mp3" + std::to_string(track) + ".mp3", mp3});
  }

  std::vector<uint8_t> archive;
  if (!WriteRar4(entries, archive) || !WriteFile(out + "/PACK.ZUL", archive.data(), archive.size())) {
    std::fprintf(stderr, "qz2-content: could not write %s/PACK.ZUL\n", out.c_str());
    return 1;
  }
  return 0;
}
