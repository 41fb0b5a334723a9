// Overlay files for the content builder and the tests: one 148-byte record per element, written as given.
#include "tools/content/overlay_writer.h"

#include <algorithm>
#include <cstring>

namespace {

// Cut to the field; the terminator is left out only when the text fills it.
template <size_t N>
void SetField(char (&field)[N], const char* text) {
  std::memcpy(field, text, std::min(std::strlen(text), N));
}

}  // namespace

OverlayRecord ImageOverlayRecord(const char* textureFile, const char* name, uint32_t mode, float t0, float t1) {
  OverlayRecord r = {};
  SetField(r.textureFile, textureFile);
  SetField(r.elementName, name);
  r.mode = mode;
  r.t0 = t0;
  r.t1 = t1;
  r.scale0 = r.scale1 = 1.0f;
  r.alpha0 = r.alpha1 = 255;
  return r;
}

OverlayRecord TextOverlayRecord(const char* fontFile, const char* name, const char* text, int32_t cellWidth,
                                int32_t cellHeight, uint32_t mode, float t0, float t1) {
  OverlayRecord r = ImageOverlayRecord(fontFile, name, mode, t0, t1);
  SetField(r.text, text);
  r.cellWidth = cellWidth;
  r.cellHeight = cellHeight;
  return r;
}

std::vector<uint8_t> OverlayFileBytes(const std::vector<OverlayRecord>& records) {
  std::vector<uint8_t> bytes(records.size() * sizeof(OverlayRecord));
  if (!records.empty()) std::memcpy(bytes.data(), records.data(), bytes.size());
  return bytes;
}
