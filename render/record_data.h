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

constexpr int kLightSlots = 8;
// Takes the lowest free slot for the light. -1 for an ambient light, which takes none, and for
// a light that finds all eight taken: the back ends leave such a light out.
int32_t TakeLightSlot(uint8_t (&slots)[kLightSlots], const Light& light);
// Frees a slot that TakeLightSlot gave; -1 is ignored.
void FreeLightSlot(uint8_t (&slots)[kLightSlots], int32_t slot);
