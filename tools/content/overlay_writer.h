// Overlay files for the content builder and the tests: one 148-byte record per element, written as given.
#pragma once

#include <cstdint>
#include <vector>

#include "overlay/overlay_format.h"

// An image element shown from t0 to t1 at the view's top-left corner, scale 1, fully opaque
// throughout; callers set the moving values on the record.
OverlayRecord ImageOverlayRecord(const char* textureFile, const char* name, uint32_t mode, float t0, float t1);
// A text element in the font image fontFile with cells of cellWidth x cellHeight pixels,
// otherwise as ImageOverlayRecord.
OverlayRecord TextOverlayRecord(const char* fontFile, const char* name, const char* text, int32_t cellWidth,
                                int32_t cellHeight, uint32_t mode, float t0, float t1);
// The records back to back, the file's whole content.
std::vector<uint8_t> OverlayFileBytes(const std::vector<OverlayRecord>& records);
