// The variety pack's overlays: images of odd sizes in every bitmap kind, two fonts, every mode fading in and out.
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>

#include "driver/show_files.h"
#include "tools/content/bmp_writer.h"
#include "tools/content/overlay_writer.h"
#include "tools/content/show_font.h"
#include "tools/content/variety_pack.h"

namespace {

// The program's font has cells of 16 pixels, 38 of them filling its 608 pixels; the other has cells of 24.
struct Font {
  const char* file;
  int cellWidth, cellHeight, dotSize;
};
constexpr Font kSmall = {kFontFile, 16, 22, 2};
constexpr Font kLarge = {"font24.bmp", 24, 30, 3};
constexpr int kFontCells = 38;

// An image's pixels from f(x, y, width, height), red first, top row first.
using Pattern = BmpColour (*)(int x, int y, int width, int height);

struct Picture {
  const char* file;
  int width, height;
  BmpKind kind;
  Pattern pattern;
};

uint8_t Ramp(int i, int n) { return static_cast<uint8_t>(40 + 215 * i / (n > 1 ? n - 1 : 1)); }

// A gradient with a white block at its first corner: a picture turned, mirrored or cut shows it.
BmpColour MarkedPattern(int x, int y, int w, int h) {
  if (x < (w + 3) / 4 && y < (h + 3) / 4) return {250, 250, 250};
  return {Ramp(x, w), Ramp(y, h), 120};
}

// A ring on black, which the loader makes transparent.
BmpColour RingPattern(int x, int y, int w, int h) {
  float dx = (x + 0.5f) / w * 2 - 1, dy = (y + 0.5f) / h * 2 - 1;
  float d = std::sqrt(dx * dx + dy * dy);
  if (d < 0.55f || d > 0.95f) return {0, 0, 0};
  return {255, static_cast<uint8_t>(255 * d), 60};
}

// Coloured bars with black gaps.
BmpColour BarsPattern(int x, int, int, int) {
  constexpr BmpColour kBars[] = {{255, 80, 80}, {80, 255, 80}, {80, 80, 255}, {255, 255, 80}, {0, 0, 0}};
  return kBars[(x / 6) % 5];
}

BmpColour Black(int, int, int, int) { return {0, 0, 0}; }

// Every kind of bitmap file, most of odd sizes.
constexpr Picture kWide = {"wide100.bmp", 100, 60, BmpKind::V5_32Bitfields, MarkedPattern};
constexpr Picture kOdd = {"odd37.bmp", 37, 53, BmpKind::Rle8, RingPattern};
constexpr Picture kStrip = {"strip300.bmp", 300, 17, BmpKind::Info4, BarsPattern};
constexpr Picture kTiny = {"tiny5x3.bmp", 5, 3, BmpKind::Core24, MarkedPattern};
constexpr Picture kDot = {"dot1.bmp", 1, 1, BmpKind::Info32, MarkedPattern};
constexpr Picture kTall = {"tall19.bmp", 19, 130, BmpKind::Info16_555, MarkedPattern};
constexpr Picture kSquare = {"sq64.bmp", 64, 64, BmpKind::Info16_565Bitfields, RingPattern};
constexpr Picture kSideways = {"v4side.bmp", 45, 29, BmpKind::V4_24, MarkedPattern};
constexpr Picture kFlipped = {"top33.bmp", 33, 21, BmpKind::TopDown24, MarkedPattern};
constexpr Picture kDeep = {"deep70.bmp", 70, 40, BmpKind::Info32Bitfields, MarkedPattern};
constexpr Picture kPalette = {"pal50.bmp", 50, 50, BmpKind::Info8, RingPattern};
constexpr Picture kPlain = {"plain61.bmp", 61, 47, BmpKind::Info24, MarkedPattern};
constexpr Picture kShade = {"shade3.bmp", 3, 3, BmpKind::Core8, Black};
// The shade last: the gallery shows all the others.
constexpr const Picture* kPictures[] = {&kWide,     &kOdd,     &kStrip, &kTiny,    &kDot,   &kTall, &kSquare,
                                        &kSideways, &kFlipped, &kDeep,  &kPalette, &kPlain, &kShade};

std::vector<uint8_t> Draw(const Picture& p) {
  std::vector<uint8_t> rgb;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      BmpColour c = p.pattern(x, y, p.width, p.height);
      rgb.insert(rgb.end(), {c.red, c.green, c.blue});
    }
  }
  return BuildBmp({p.width, p.height, rgb}, p.kind);
}

std::vector<uint8_t> DrawFont(const Font& f, BmpKind kind) {
  const int width = f.cellWidth * kFontCells;
  return BuildBmp({width, f.cellHeight, FontPixels(f.cellWidth, f.cellHeight, f.dotSize, width)}, kind);
}

struct Corner {
  float x, y;
};

Corner Between(Corner a, Corner b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

// Elements fade in from t0 to the middle of their time and out to t1 while they move from a to b; the frames'
// times fall on the fades.
class Script {
 public:
  void Text(const Font& f, const char* name, const char* text, uint32_t mode, float scale, Corner a, Corner b,
            float t0 = 1.0f, float t1 = 7.0f) {
    OverlayRecord r = TextOverlayRecord(f.file, name, text, f.cellWidth, f.cellHeight, mode, t0, t1);
    Fading(r, a, b, scale, scale, 255);
  }
  void Image(const Picture& p, const char* name, uint32_t mode, float scale0, float scale1, Corner a, Corner b,
             float t0 = 1.0f, float t1 = 7.0f, uint8_t peak = 255) {
    Fading(ImageOverlayRecord(p.file, name, mode, t0, t1), a, b, scale0, scale1, peak);
  }
  // Shown whole from start to end.
  void Steady(const Picture& p, const char* name, uint32_t mode, float scale, Corner at) {
    OverlayRecord r = ImageOverlayRecord(p.file, name, mode, 0.0f, kVarietySceneSeconds);
    Place(r, at, at, scale, scale);
    records_.push_back(r);
  }

  std::vector<uint8_t> Bytes() const { return OverlayFileBytes(records_); }

 private:
  static void Place(OverlayRecord& r, Corner a, Corner b, float scale0, float scale1) {
    r.x0 = a.x, r.y0 = a.y, r.x1 = b.x, r.y1 = b.y;
    r.scale0 = scale0, r.scale1 = scale1;
  }
  void Fading(OverlayRecord r, Corner a, Corner b, float scale0, float scale1, uint8_t peak) {
    const float t0 = r.t0, t1 = r.t1, middle = (t0 + t1) / 2, scale = (scale0 + scale1) / 2;
    r.t1 = middle;
    Place(r, a, Between(a, b), scale0, scale);
    r.alpha0 = 0, r.alpha1 = peak;
    records_.push_back(r);
    r.t0 = middle, r.t1 = t1;
    Place(r, Between(a, b), b, scale, scale1);
    r.alpha0 = peak, r.alpha1 = 0;
    records_.push_back(r);
  }

  std::vector<OverlayRecord> records_;
};

void OpaqueOverlays(Script& s) {
  s.Text(kSmall, "Title", "Opaque 0", 0, 2.0f, {0.05f, 0.05f}, {0.1f, 0.05f});
  s.Image(kWide, "Wide", 0, 1.0f, 1.5f, {0.7f, 0.1f}, {0.6f, 0.2f});
  s.Image(kDot, "Dot", 1, 40.0f, 60.0f, {0.05f, 0.7f}, {0.1f, 0.7f});
  s.Image(kFlipped, "Topdown", 4, 3.0f, 2.0f, {0.75f, 0.7f}, {0.8f, 0.75f});
}

void AdditiveOverlays(Script& s) {
  s.Text(kLarge, "Title", "Additive one", 1, 1.0f, {0.05f, 0.05f}, {0.05f, 0.1f});
  s.Image(kOdd, "Ring", 2, 2.0f, 3.0f, {0.7f, 0.05f}, {0.65f, 0.1f});
  s.Steady(kStrip, "Strip", 3, 1.0f, {0.3f, 0.9f});
  s.Image(kPalette, "Palette", 1, 1.0f, 2.0f, {0.05f, 0.75f}, {0.05f, 0.7f});
}

void GlowingOverlays(Script& s) {
  s.Text(kSmall, "Title", "Additive two", 2, 1.5f, {0.05f, 0.05f}, {0.05f, 0.05f}, 0.5f, 6.5f);
  s.Image(kTiny, "Tiny", 4, 20.0f, 24.0f, {0.75f, 0.05f}, {0.7f, 0.05f});
  s.Steady(kTall, "Tall", 0, 1.0f, {0.9f, 0.5f});
  s.Steady(kPlain, "Plain", 3, 1.5f, {0.05f, 0.8f});
}

void StageOverlays(Script& s) {
  s.Text(kLarge, "Title", "The dancer", 3, 1.0f, {0.05f, 0.05f}, {0.1f, 0.05f});
  s.Text(kSmall, "Hello", "Hello, World 123!", 4, 1.5f, {0.3f, 0.88f}, {0.3f, 0.85f}, 0.5f, 7.5f);
  s.Image(kSquare, "Square", 7, 1.0f, 2.0f, {0.8f, 0.05f}, {0.75f, 0.1f});
}

void VertexAlphaOverlays(Script& s) {
  s.Text(kSmall, "Title", "Vertex alpha", 4, 2.0f, {0.05f, 0.05f}, {0.05f, 0.1f});
  s.Image(kWide, "Wide", 1, 2.0f, 1.0f, {0.6f, 0.7f}, {0.7f, 0.75f});
  s.Steady(kOdd, "Ring", 3, 3.0f, {0.05f, 0.6f});
}

// The same image in every mode side by side.
void UnknownModeOverlays(Script& s) {
  s.Text(kLarge, "Title", "Mode seven", 7, 1.5f, {0.05f, 0.05f}, {0.1f, 0.05f});
  constexpr uint32_t kModes[] = {0, 1, 2, 3, 4, 7};
  for (int i = 0; i < 6; ++i) {
    const float x = 0.02f + 0.165f * i;
    s.Image(kSquare, "Square", kModes[i], 1.5f, 1.5f, {x, 0.78f}, {x, 0.78f}, 0.5f, 7.5f);
  }
}

void LightsOverlays(Script& s) {
  s.Text(kSmall, "Small", "Lights of every kind", 0, 0.75f, {0.05f, 0.05f}, {0.05f, 0.05f});
  s.Text(kLarge, "Large", "Six lights", 4, 2.5f, {0.05f, 0.82f}, {0.15f, 0.82f}, 0.5f, 6.5f);
  s.Image(kTall, "Tall", 2, 1.0f, 2.0f, {0.9f, 0.1f}, {0.85f, 0.2f});
  s.Image(kDeep, "Deep", 0, 1.0f, 1.5f, {0.7f, 0.6f}, {0.65f, 0.65f});
}

void PrelitOverlays(Script& s) {
  s.Text(kSmall, "Title", "Prelit 8", 3, 2.0f, {0.05f, 0.05f}, {0.1f, 0.1f});
  s.Image(kSideways, "Sideways", 2, 2.0f, 3.0f, {0.7f, 0.05f}, {0.65f, 0.1f});
  // A full-view shade that only darkens part way.
  s.Image(kShade, "Fshade", 4, 1.0f, 1.0f, {0, 0}, {0, 0}, 1.0f, 7.0f, 160);
}

// Every image at once, and a line of text in every mode.
void GalleryOverlays(Script& s) {
  for (int i = 0; i < static_cast<int>(std::size(kPictures)) - 1; ++i) {
    const Picture& p = *kPictures[i];
    s.Steady(p, "Picture", 3, p.width * p.height < 100 ? 12.0f : 1.0f,
             {0.02f + 0.14f * (i % 7), 0.62f + 0.2f * (i / 7)});
  }
  constexpr uint32_t kModes[] = {0, 1, 2, 3, 4, 7};
  for (int i = 0; i < 6; ++i) {
    char text[16];
    std::snprintf(text, sizeof text, "Mode %u", kModes[i]);
    const Font& f = i % 2 ? kLarge : kSmall;
    const float y = 0.03f + 0.09f * i;
    s.Text(f, "Line", text, kModes[i], 1.0f, {0.05f, y}, {0.15f, y}, 0.5f + 0.2f * i, 6.5f + 0.2f * i);
  }
}

}  // namespace

std::vector<uint8_t> BuildVarietyOverlays(int index) {
  using Builder = void (*)(Script&);
  constexpr Builder kBuilders[] = {OpaqueOverlays, AdditiveOverlays,    GlowingOverlays,
                                   StageOverlays,  VertexAlphaOverlays, UnknownModeOverlays,
                                   LightsOverlays, PrelitOverlays,      GalleryOverlays};
  Script s;
  kBuilders[index](s);
  return s.Bytes();
}

std::vector<RarEntry> BuildVarietyImages() {
  std::vector<RarEntry> images = {{kSmall.file, DrawFont(kSmall, BmpKind::Info1)},
                                  {kLarge.file, DrawFont(kLarge, BmpKind::Rle4)}};
  for (const Picture* p : kPictures) images.push_back({p->file, Draw(*p)});
  return images;
}
