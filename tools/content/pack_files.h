// The files of a data pack as the content builder packs them and the tests write them into a data directory.
#pragma once

#include <string>
#include <vector>

#include "tools/content/rar_writer.h"

// The default show's files but its music: the first scenes of the given lengths, the font, the overlay files and
// their images, and the character.
std::vector<RarEntry> BuildShowFilesWithoutMusic(int scenes, float (*sceneSeconds)(int index));
// The variety pack's files (it has no music).
std::vector<RarEntry> BuildVarietyFiles();
// Each file into the directory, which must exist; false when one cannot be written whole.
bool WriteDataFiles(const std::string& directory, const std::vector<RarEntry>& files);
