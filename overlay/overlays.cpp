// Overlay files and their drawing: images that slide, scale and fade, and lines of bitmap-font text, on a timetable.
#include "overlay/overlays.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/allocate.h"
#include "core/byte_reader.h"
#include "core/error.h"
#include "core/file.h"
#include "overlay/glyph_set.h"
#include "overlay/overlay_quad.h"
#include "scene/list.h"
#include "scene/material.h"
#include "scene/texture.h"
#include "scene/world.h"

namespace {

constexpr size_t kOverlayPathSize = 256;

void DestroyQuad(OverlayQuad* quad) {
  quad->Destroy();
  delete quad;
}

// A text field of the record, cut to fit out (size bytes with the terminator) when it has none.
template <size_t N>
void CopyField(char* out, size_t size, const char (&field)[N]) {
  const char* end = std::find(field, field + (N < size ? N : size - 1), '\0');
  std::copy(field, end, out);
  out[end - field] = '\0';
}

// From v0 at t0 to v1 at t1.
void Line(float v0, float v1, const OverlayRecord& r, float& a, float& b) {
  float d = r.t1 - r.t0;
  a = d != 0.0f ? (v1 - v0) / d : 0.0f;
  b = v0 - a * r.t0;
}

void FillTrack(OverlayTrack& track, const OverlayRecord& r) {
  track.t0 = r.t0;
  track.t1 = r.t1;
  track.duration = r.t1 - r.t0;
  Line(r.x0, r.x1, r, track.ax, track.bx);
  Line(r.y0, r.y1, r, track.ay, track.by);
  Line(r.alpha0, r.alpha1, r, track.aA, track.bA);
  Line(r.scale0, r.scale1, r, track.aS, track.bS);
  CopyField(track.name, sizeof track.name, r.elementName);
}

void SetTextureScales(OverlayTrack& track, const Texture& texture) {
  track.kU = 1.0f / texture.scaleU;
  track.kV = 1.0f / texture.scaleV;
}

// A node and its track, or neither.
template <class Node>
Node* NewNode(const char* nodeTag, const char* trackTag) {
  auto* node = static_cast<Node*>(Allocate(sizeof(Node), nodeTag));
  auto* track = static_cast<OverlayTrack*>(Allocate(sizeof(OverlayTrack), trackTag));
  if (!node || !track) {
    Release(node);
    Release(track);
    return nullptr;
  }
  std::memset(node, 0, sizeof(Node));
  std::memset(track, 0, sizeof(OverlayTrack));
  node->track = track;
  return node;
}

template <class Node>
void AppendNode(Node*& head, Node* node) {
  Node** tail = &head;
  while (*tail) tail = &(*tail)->next;
  *tail = node;
}

void LoadText(OverlaySet& set, const OverlayRecord& r, Texture* font) {
  auto* node = NewNode<TextOverlay>("texchaine", "txch commun");
  if (!node) return;
  AppendNode(set.texts, node);
  char name[kOverlayTrackNameSize];
  CopyField(name, sizeof name, r.elementName);
  node->glyphs = new GlyphSet(name, font, r.mode, r.cellWidth, r.cellHeight, set.world);
  CopyField(node->text, sizeof node->text, r.text);
  for (char* c = node->text; *c; ++c) {
    if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
  }
  FillTrack(*node->track, r);
  SetTextureScales(*node->track, *font);
}

void LoadImage(OverlaySet& set, const OverlayRecord& r, Texture* image) {
  auto* material = new Material("Mat", set.world);
  material->SetTextureCount(1);
  material->SetTexture(0, image, 0);
  material->SetMode(r.mode);
  auto* node = NewNode<ImageOverlay>("ovrchaine", "ovrcomm");
  if (!node) return;
  AppendNode(set.images, node);
  node->quad = new OverlayQuad("Ovr", material, 0, 0, image->width, image->height, set.world);
  node->track->extra1 = r.extra1;
  node->track->extra2 = r.extra2;
  SetTextureScales(*node->track, *image);
  FillTrack(*node->track, r);
}

bool Shown(const OverlayTrack& track, float t) { return track.t0 <= t && t <= track.t1; }

// Truncated toward zero and clamped to 0..255; a value that is no number gives 0.
uint8_t AlphaAt(const OverlayTrack& track, float t) {
  float alpha = track.aA * t + track.bA;
  if (!(alpha > 0.0f)) return 0;
  return alpha < 255.0f ? static_cast<uint8_t>(alpha) : 255;
}

}  // namespace

OverlaySet* LoadOverlays(const char* name, const char* path, World* world, const char* dataDirectory) {
  // Before any quad or set joins a World, which frees those left in it through these.
  SetOverlayListOps({DestroyQuad, ReleaseOverlays});
  std::vector<uint8_t> bytes;
  if (!File_ReadAll(path, kOverlayFileMaxBytes, bytes)) ReportErrorDetail("Error opening File", path, true);
  auto* set = static_cast<OverlaySet*>(Allocate(sizeof(OverlaySet), "ovrset"));
  if (!set) return nullptr;
  std::memset(set, 0, sizeof *set);
  std::strncpy(set->name, name, sizeof set->name - 1);
  set->world = world;
  // In the World before any record, so a World torn down after a fatal report frees what was read.
  PushHead(world->overlaySets, set);

  ByteReader in(bytes.data(), bytes.size());
  while (in.Remaining() >= sizeof(OverlayRecord)) {
    OverlayRecord r;
    std::memcpy(&r, in.Bytes(sizeof r), sizeof r);
    char file[kOverlayTextureNameSize + 1];
    CopyField(file, sizeof file, r.textureFile);
    // The name is the texture's to read only while it is made: the buffer serves the next record.
    char texturePath[kOverlayPathSize];
    File_JoinPath(texturePath, sizeof texturePath, dataDirectory, file);
    auto* texture = new Texture(texturePath, 0, 1, world);
    if (r.text[0]) {
      LoadText(*set, r, texture);
    } else {
      LoadImage(*set, r, texture);
    }
  }
  return set;
}

void DrawOverlays(const OverlaySet* set, float t) {
  if (!set) return;
  for (const TextOverlay* node = set->texts; node; node = node->next) {
    const OverlayTrack& k = *node->track;
    if (!Shown(k, t)) continue;
    float s = k.aS * t + k.bS;
    node->glyphs->DrawText(k.ax * t + k.bx, k.ay * t + k.by, s, s * k.kU, s * k.kV, AlphaAt(k, t), node->text);
  }
  for (const ImageOverlay* node = set->images; node; node = node->next) {
    const OverlayTrack& k = *node->track;
    if (!Shown(k, t)) continue;
    float s = k.aS * t + k.bS;
    if (k.name[0] == 'F') {
      node->quad->DrawFullScreen(AlphaAt(k, t));
    } else {
      node->quad->DrawAtFraction(k.ax * t + k.bx, k.ay * t + k.by, s * k.kU, s * k.kV, AlphaAt(k, t));
    }
  }
}

void ReleaseOverlays(OverlaySet* set) {
  if (!set) return;
  while (TextOverlay* node = set->texts) {
    set->texts = node->next;
    node->glyphs->Unlink();
    delete node->glyphs;
    Release(node->track);
    Release(node);
  }
  while (ImageOverlay* node = set->images) {
    set->images = node->next;
    Release(node->track);
    Release(node);
  }
  Unlink(set->world->overlaySets, set);
  Release(set);
}
