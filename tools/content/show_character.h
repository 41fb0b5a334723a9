// The default show's character: a figure of twelve bones dancing a loop, as its animation and mesh files.
#pragma once

#include <cstdint>
#include <vector>

// 120 frames, four beats: the hips sway and dip, the arms pump in turn, the knees bend.
std::vector<uint8_t> BuildShowAnimation();
// The figure standing on the stage, feet on the podium, facing -y; vertices near a joint follow
// both of its bones, those between two joints three.
std::vector<uint8_t> BuildShowMesh();
