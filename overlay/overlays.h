// Overlay files and their drawing: images that slide, scale and fade, and lines of bitmap-font text, on a timetable.
//
// Each element is shown from t0 to t1 (both included), its position, scale and alpha moving
// linearly between their two values. Text is drawn first, images over it. The set owns its
// element nodes, their tracks and the text elements' glyph sets; the textures, materials and
// quads it makes belong to the World.
#pragma once

#include <cstddef>
#include <cstdint>

#include "overlay/overlay_format.h"

class GlyphSet;
class OverlayQuad;
class World;

// Far more than any show's overlay file holds (1771 records); a larger file is refused unread.
constexpr size_t kOverlayFileMaxBytes = 256 * 1024;
constexpr size_t kOverlaySetNameSize = 20;
constexpr size_t kOverlayTrackNameSize = 12;

// value(t) = a t + b for x, y, alpha and scale. An element whose t0 equals its t1 has no slope:
// it shows its start values, at t0 alone.
struct OverlayTrack {
  char name[kOverlayTrackNameSize];
  float t0, t1;
  float ax, bx;
  float ay, by;
  uint32_t extra1, extra2;  // carried from an image record, never read
  float duration;
  float aA, bA;
  float aS, bS;
  float kU, kV;  // 1 / the texture's scaleU and scaleV
};
static_assert(sizeof(OverlayTrack) == 72);

struct ImageOverlay {
  OverlayQuad* quad;
  OverlayTrack* track;  // tag "ovrcomm"
  ImageOverlay* next;
};

struct TextOverlay {
  GlyphSet* glyphs;
  char text[kOverlayTextSize + 1];  // upper-cased
  OverlayTrack* track;              // tag "txch commun"
  TextOverlay* next;
};

class OverlaySet {
 public:
  char name[kOverlaySetNameSize];
  World* world;
  TextOverlay* texts;    // file order, tag "texchaine"
  ImageOverlay* images;  // file order, tag "ovrchaine"
  OverlaySet* next;
  OverlaySet* prev;
};

// Reads every whole record of the file at path, with its images and font from dataDirectory,
// into a set named name that joins the World's overlay-set list; from then on the World's Destroy
// frees the quads and sets still in it. A file that cannot be read is
// fatal: "Error opening File" with the path. Null only when the memory for the set cannot be had;
// the other two operations take a null set as one without elements.
OverlaySet* LoadOverlays(const char* name, const char* path, World* world, const char* dataDirectory);
// Draws the elements shown at t seconds; between Begin2D and End2D only.
void DrawOverlays(const OverlaySet* set, float t);
// Frees the nodes, their tracks and glyph sets and the set, which leaves the World's list.
void ReleaseOverlays(OverlaySet* set);
