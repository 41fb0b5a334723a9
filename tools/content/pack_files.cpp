// The files of a data pack as the content builder packs them and the tests write them into a data directory.
#include "tools/content/pack_files.h"

#include <cstdio>
#include <utility>

#include "driver/show_files.h"
#include "tools/content/file_writer.h"
#include "tools/content/show_character.h"
#include "tools/content/show_font.h"
#include "tools/content/show_overlays.h"
#include "tools/content/show_scenes.h"
#include "tools/content/variety_pack.h"

std::vector<RarEntry> BuildShowFilesWithoutMusic(int scenes, float (*sceneSeconds)(int index)) {
  std::vector<RarEntry> files;
  for (int i = 0; i < scenes; ++i) files.push_back({kShowSceneFiles[i].sceneFile, BuildShowScene(i, sceneSeconds(i))});
  files.push_back({kFontFile, BuildShowFont()});
  for (int i = 0; i < scenes; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, kOverlayFileFormat, i + 1);
    files.push_back({name, BuildShowOverlays(i)});
  }
  for (ShowImage& image : BuildShowOverlayImages()) files.push_back({image.name, std::move(image.bitmap)});
  files.push_back({kCharacterAnimationFile, BuildShowAnimation()});
  files.push_back({kCharacterMeshFile, BuildShowMesh()});
  return files;
}

std::vector<RarEntry> BuildVarietyFiles() {
  std::vector<RarEntry> files;
  for (int i = 0; i < kSceneCount; ++i) {
    files.push_back({kShowSceneFiles[i].sceneFile, BuildVarietyScene(i)});
    char name[32];
    std::snprintf(name, sizeof name, kOverlayFileFormat, i + 1);
    files.push_back({name, BuildVarietyOverlays(i)});
  }
  for (RarEntry& image : BuildVarietyImages()) files.push_back(std::move(image));
  files.push_back({kCharacterAnimationFile, BuildShowAnimation()});
  files.push_back({kCharacterMeshFile, BuildShowMesh()});
  return files;
}

bool WriteDataFiles(const std::string& directory, const std::vector<RarEntry>& files) {
  for (const RarEntry& file : files) {
    if (!WriteBytesFile((directory + "/" + file.name).c_str(), file.data)) return false;
  }
  return true;
}
