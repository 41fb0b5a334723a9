// The renderer's data of the scene records (viewport, material, light slots), built the same way by every back end.
#pragma once

#include <cstdint>

#include "render/renderer.h"
#include "scene/colour.h"

// CreateView: the View's ViewportData (tag "ViewportAPI"), allocated and filled.
void CreateViewportData(View* view);
// UpdateView: left, top and size truncated toward zero; depth 0 to 1.
void FillViewportData(const View& view, ViewportData& data);
// ReleaseView: frees it and clears the View's field.
void ReleaseViewportData(View* view);

// CreateMaterial: the Material's MaterialData (tag "MaterialAPI"), allocated, not yet filled;
// null (and the field left null) when it cannot be had.
MaterialData* CreateMaterialData(Material* material);
// Colours divided by 255, the specular colour also multiplied by the specular level, and power 0: the scene
// files were made with these device values (their shininess was never sent to the device).
void FillMaterialData(const Material& material, MaterialData& data);
// ReleaseMaterial: frees it and clears the Material's field.
void ReleaseMaterialData(Material* material);

// Red, green, blue, alpha, each byte divided by 255.
void ColourToFloats(Colour colour, float out[4]);

// Sets the last column of a row-vector matrix to (0, 0, 0, 1), as every back end does to the matrices it is given.
void ForceAffineColumn(float* m);

// A patch whose indices would reach past its vertices is never drawn.
bool IndicesBelow(const uint16_t* indices, uint32_t count, uint32_t vertexCount);
// The character's ready PatchData as the GL back ends draw it: vertices that start with a position, a normal and a
// coordinate pair (PatchVertexLit), and indices that stay among them.
bool IsDrawableLitPatchData(const PatchData& data);

constexpr int kLightSlots = 8;
// Takes the lowest free slot for the light. -1 for an ambient light, which takes none, and for
// a light that finds all eight taken: the back ends leave such a light out.
int32_t TakeLightSlot(uint8_t (&slots)[kLightSlots], const Light& light);
// Frees a slot that TakeLightSlot gave; -1 is ignored.
void FreeLightSlot(uint8_t (&slots)[kLightSlots], int32_t slot);
