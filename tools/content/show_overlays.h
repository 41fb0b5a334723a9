// The default show's overlays: a title card, scene names, images that slide, scale and fade, credits, fades.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ShowImage {
  std::string name;
  std::vector<uint8_t> bitmap;
};

// The images the overlay files name, as bitmap files.
std::vector<ShowImage> BuildShowOverlayImages();
// The overlay file of scene index i (0 to 8); the same bytes on every run.
std::vector<uint8_t> BuildShowOverlays(int index);
