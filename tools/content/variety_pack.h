// The variety pack, a test pack of what the default show avoids: images of odd sizes in every bitmap kind, fonts
// of other cell sizes, materials of every blend mode with extreme specular values, every kind of light with and
// without a range, raw scene textures of odd sizes, text in every mode fading in and out, and a character.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/content/rar_writer.h"

constexpr float kVarietySceneSeconds = 8.0f;
// Every scene shows its fades part way and its objects turned at these times.
constexpr float kVarietyFrameTimes[] = {2.5f, 5.5f};

// By scene index 0 to 8 (the character is the default show's).
std::vector<uint8_t> BuildVarietyScene(int index);
std::vector<uint8_t> BuildVarietyOverlays(int index);
// The fonts and overlay images, every one a bitmap file.
std::vector<RarEntry> BuildVarietyImages();
