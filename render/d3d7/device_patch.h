// A patch copied into the Direct3D 7 device's vertex format, once, when the patch has been read.
#pragma once

#include "render/renderer.h"

struct Patch;

// Flexible vertex format codes: position and normal (lit patches); position, a reserved word and the diffuse and
// specular colours (coloured patches); each followed by n coordinate pairs, n x kFvfTexturePairStep.
constexpr uint32_t kFvfLitPatch = 0x012;
constexpr uint32_t kFvfColouredPatch = 0x0E2;
constexpr uint32_t kFvfTexturePairStep = 0x100;

// n is the texture count of the patch's material, or 1 without one; pairs past the first repeat the first,
// since the patch carries one. Any kind but lit and coloured is fatal ("Uknown patch type"). Null when the
// memory cannot be had.
PatchData* NewDevicePatch(const Patch& patch);
void FreeDevicePatch(PatchData* data);
