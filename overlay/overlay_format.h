// The on-disk record of overlay files ("over1.dat" ...), shared by the reader and the content writer.
//
// A file is a plain run of these records, little-endian, with no header and no count; a trailing
// partial record is ignored. Text fields are NUL-terminated when shorter than their field.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little, "overlay files are read field by field into host structs");

constexpr size_t kOverlayTextureNameSize = 15;
constexpr size_t kOverlayElementNameSize = 13;
constexpr size_t kOverlayTextSize = 60;

struct OverlayRecord {
  char textureFile[kOverlayTextureNameSize];  // relative to the data directory
  char elementName[kOverlayElementNameSize];  // at most 11 characters; "F..." images cover the view
  uint32_t mode;                              // the element material's blend mode
  char text[kOverlayTextSize];                // empty for an image element
  float t0, t1;                               // seconds of scene time
  float x0, y0;                               // fractions of the view's width and height at t0
  float x1, y1;                               // and at t1
  int32_t cellWidth, cellHeight;              // glyph cell in pixels (text elements)
  uint32_t extra1, extra2;                    // carried into an image element's track, never read
  float scale0, scale1;
  uint8_t alpha0, alpha1;
  uint8_t unused[6];
};
static_assert(sizeof(OverlayRecord) == 148);
static_assert(offsetof(OverlayRecord, elementName) == 15 && offsetof(OverlayRecord, mode) == 28 &&
              offsetof(OverlayRecord, text) == 32 && offsetof(OverlayRecord, t0) == 92 &&
              offsetof(OverlayRecord, t1) == 96 && offsetof(OverlayRecord, x0) == 100 &&
              offsetof(OverlayRecord, y0) == 104 && offsetof(OverlayRecord, x1) == 108 &&
              offsetof(OverlayRecord, y1) == 112 && offsetof(OverlayRecord, cellWidth) == 116 &&
              offsetof(OverlayRecord, cellHeight) == 120 && offsetof(OverlayRecord, extra1) == 124 &&
              offsetof(OverlayRecord, extra2) == 128 && offsetof(OverlayRecord, scale0) == 132 &&
              offsetof(OverlayRecord, scale1) == 136 && offsetof(OverlayRecord, alpha0) == 140 &&
              offsetof(OverlayRecord, alpha1) == 141);
