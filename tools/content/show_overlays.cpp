// The default show's overlays: a title card, scene names, images that slide, scale and fade, credits, fades.
#include "tools/content/show_overlays.h"

#include <cmath>
#include <cstring>
#include <functional>

#include "driver/show_files.h"
#include "tools/content/bmp_writer.h"
#include "tools/content/overlay_writer.h"
#include "tools/content/show_font.h"
#include "tools/content/show_scenes.h"

namespace {

constexpr float kViewWidth = 800, kViewHeight = 600;
constexpr float kFadeSeconds = 0.8f;  // the black fades at both ends of a scene
constexpr float kEaseSeconds = 0.6f;  // a caption's way in and out

// Blend modes: glows and text add onto the picture (their black adds nothing, and a fade dims the
// letters alone, never the cells around them); the bar keeps its own colours with the black key
// transparent; the black fade takes its opacity from the vertices.
constexpr uint32_t kAdditive = 1;
constexpr uint32_t kKeyed = 3;
constexpr uint32_t kVertexAlpha = 4;

struct Picture {
  const char* file;
  int width, height;
  uint32_t mode;
};
constexpr Picture kStar = {"star.bmp", 64, 64, kAdditive};
constexpr Picture kRing = {"ring.bmp", 128, 128, kAdditive};
constexpr Picture kLogo = {"logo.bmp", 128, 128, kAdditive};
constexpr Picture kBar = {"bar.bmp", 256, 8, kKeyed};
constexpr Picture kFade = {"fade.bmp", 8, 8, kVertexAlpha};

// A centre and a scale at one end of an image's way.
struct Spot {
  float cx, cy, scale;
};

float TextWidth(const char* text, float scale) { return std::strlen(text) * kShowGlyphWidth * scale; }

class OverlayScript {
 public:
  // Text whose top-left is at (x, y): it slides in from the left and fades in, stays, and fades out.
  void Caption(const char* name, const char* text, float scale, float x, float y, float t0, float t1) {
    const float slide = 0.04f;
    Text(name, text, scale, t0, t0 + kEaseSeconds, {x - slide, y}, {x, y}, 0, 255);
    Text(name, text, scale, t0 + kEaseSeconds, t1 - kEaseSeconds, {x, y}, {x, y}, 255, 255);
    Text(name, text, scale, t1 - kEaseSeconds, t1, {x, y}, {x, y}, 255, 0);
  }
  // A caption centred across the view.
  void Centred(const char* name, const char* text, float scale, float y, float t0, float t1) {
    Caption(name, text, scale, (kViewWidth - TextWidth(text, scale)) / 2 / kViewWidth, y, t0, t1);
  }
  // Centred text that moves from y0 to y1, shown throughout.
  void Rolling(const char* name, const char* text, float scale, float y0, float y1, float t0, float t1) {
    float x = (kViewWidth - TextWidth(text, scale)) / 2 / kViewWidth;
    Text(name, text, scale, t0, t1, {x, y0}, {x, y1}, 255, 255);
  }
  // An image whose centre and scale move from a to b while its alpha goes from alpha0 to alpha1.
  void Image(const Picture& p, const char* name, float t0, float t1, Spot a, Spot b, uint8_t alpha0 = 255,
             uint8_t alpha1 = 255) {
    OverlayRecord r = ImageOverlayRecord(p.file, name, p.mode, t0, t1);
    r.x0 = (a.cx * kViewWidth - p.width * a.scale / 2) / kViewWidth;
    r.y0 = (a.cy * kViewHeight - p.height * a.scale / 2) / kViewHeight;
    r.x1 = (b.cx * kViewWidth - p.width * b.scale / 2) / kViewWidth;
    r.y1 = (b.cy * kViewHeight - p.height * b.scale / 2) / kViewHeight;
    r.scale0 = a.scale;
    r.scale1 = b.scale;
    r.alpha0 = alpha0;
    r.alpha1 = alpha1;
    records_.push_back(r);
  }
  // The scene opens out of black and closes into it.
  void Fades(float seconds) {
    Black("FadeIn", 0, kFadeSeconds, 255, 0);
    Black("FadeOut", seconds - kFadeSeconds, seconds, 0, 255);
  }
  // The scene's number and name low on the left over a bar that slides in under it.
  void SceneName(const char* text, float t0, float t1) {
    Image(kBar, "Bar", t0, t0 + kEaseSeconds, {-0.2f, 0.915f, 1.2f}, {0.2f, 0.915f, 1.2f});
    Image(kBar, "Bar", t0 + kEaseSeconds, t1, {0.2f, 0.915f, 1.2f}, {0.2f, 0.915f, 1.2f}, 255, 255);
    Caption("Name", text, 1.0f, 0.05f, 0.84f, t0, t1);
  }

  std::vector<uint8_t> Bytes() const { return OverlayFileBytes(records_); }

 private:
  struct Corner {
    float x, y;
  };
  void Text(const char* name, const char* text, float scale, float t0, float t1, Corner a, Corner b, uint8_t alpha0,
            uint8_t alpha1) {
    OverlayRecord r = TextOverlayRecord(kFontFile, name, text, kShowGlyphWidth, kShowGlyphHeight, kAdditive, t0, t1);
    r.x0 = a.x, r.y0 = a.y, r.x1 = b.x, r.y1 = b.y;
    r.scale0 = r.scale1 = scale;
    r.alpha0 = alpha0;
    r.alpha1 = alpha1;
    records_.push_back(r);
  }
  void Black(const char* name, float t0, float t1, uint8_t alpha0, uint8_t alpha1) {
    OverlayRecord r = ImageOverlayRecord(kFade.file, name, kFade.mode, t0, t1);
    r.alpha0 = alpha0;
    r.alpha1 = alpha1;
    records_.push_back(r);
  }

  std::vector<OverlayRecord> records_;
};

// A star crossing the view from a to b, growing on its way.
void Sweep(OverlayScript& s, float t0, float t1, Spot a, Spot b) { s.Image(kStar, "Star", t0, t1, a, b); }

// A ring that opens from the point and fades as it grows.
void Pulse(OverlayScript& s, float t, float cx, float cy) {
  s.Image(kRing, "Ring", t, t + 1.5f, {cx, cy, 0.2f}, {cx, cy, 3.0f}, 255, 0);
}

void Opening(OverlayScript& s, float seconds) {
  // The title glows in the black sky above the floor.
  s.Image(kLogo, "Logo", 0.6f, 3.0f, {0.5f, 0.13f, 0.3f}, {0.5f, 0.13f, 2.4f}, 255, 0);
  s.Centred("Title", "QZ2", 3.0f, 0.05f, 1.0f, 6.0f);
  s.Centred("Subtitle", "A REAL TIME DEMO", 1.0f, 0.3f, 1.8f, 6.0f);
  s.Centred("Credit", "PLAYED BY ITS OWN CODE", 0.6f, 0.38f, 2.6f, 6.0f);
  Sweep(s, 1.0f, 7.0f, {-0.05f, 0.1f, 0.5f}, {1.05f, 0.14f, 1.5f});
  s.SceneName("1 RING OF CUBES", 7.0f, seconds - 1.5f);
}

void Spheres(OverlayScript& s, float seconds) {
  s.SceneName("2 BOUNCING SPHERES", 1.0f, seconds - 5.0f);
  Sweep(s, 2.0f, 9.0f, {1.05f, 0.08f, 0.6f}, {-0.05f, 0.5f, 1.4f});
  Pulse(s, 8.0f, 0.75f, 0.3f);
  Pulse(s, 9.0f, 0.25f, 0.35f);
}

void Tunnel(OverlayScript& s, float seconds) {
  for (float t = 1.0f; t + 1.5f < seconds - kFadeSeconds; t += 1.7f) Pulse(s, t, 0.5f, 0.5f);
  s.SceneName("3 THE TUNNEL", 2.0f, 8.0f);
}

void Stage(OverlayScript& s, float seconds) {
  s.SceneName("4 THE DANCER", 1.0f, 7.0f);
  s.Centred("Hint", "PRESS M TO HIDE OR SHOW HIM", 0.6f, 0.05f, 7.5f, seconds - 1.5f);
  Sweep(s, 1.5f, 6.0f, {0.1f, 0.2f, 0.4f}, {0.9f, 0.2f, 1.2f});
  Sweep(s, 6.0f, 11.0f, {0.9f, 0.25f, 1.2f}, {0.1f, 0.25f, 0.4f});
}

void Crystals(OverlayScript& s, float seconds) {
  s.SceneName("5 CRYSTALS", 1.0f, seconds - 2.0f);
  Pulse(s, 2.0f, 0.3f, 0.4f);
  Pulse(s, 3.0f, 0.7f, 0.4f);
  Pulse(s, 4.0f, 0.5f, 0.25f);
}

void Hills(OverlayScript& s, float seconds) {
  s.SceneName("6 ROLLING HILLS", 1.0f, seconds - 2.0f);
  Sweep(s, 1.0f, 9.0f, {0.15f, 0.12f, 1.5f}, {0.85f, 0.12f, 0.6f});
}

void Spots(OverlayScript& s, float seconds) {
  s.SceneName("7 SPOTLIGHTS", 1.0f, seconds - 2.0f);
  Sweep(s, 1.0f, 4.0f, {0.2f, -0.05f, 0.8f}, {0.2f, 0.7f, 0.8f});
  Sweep(s, 2.5f, 5.5f, {0.5f, -0.05f, 0.8f}, {0.5f, 0.7f, 0.8f});
  Sweep(s, 4.0f, 7.0f, {0.8f, -0.05f, 0.8f}, {0.8f, 0.7f, 0.8f});
}

void Helix(OverlayScript& s, float seconds) {
  s.SceneName("8 DOUBLE HELIX", 1.0f, seconds - 2.0f);
  s.Image(kLogo, "Logo", 2.0f, 8.0f, {0.85f, 0.2f, 0.2f}, {0.85f, 0.2f, 1.0f}, 255, 0);
}

void Finale(OverlayScript& s, float seconds) {
  s.SceneName("9 FINALE", 0.8f, 4.0f);
  const char* credits[] = {"CREDITS", "SCENES AND CODE", "THE QZ2 TEAM", "MUSIC MADE IN CODE",
                           "THANK YOU FOR WATCHING"};
  for (int i = 0; i < 5; ++i) {
    float t0 = 3.5f + 1.1f * i;
    s.Rolling("Roll", credits[i], i == 0 ? 1.2f : 0.8f, 1.0f, -0.1f, t0, t0 + 6.0f);
  }
  s.Centred("End", "THE END", 2.0f, 0.42f, 10.0f, seconds - 0.5f);
  s.Image(kLogo, "Logo", 10.0f, seconds, {0.5f, 0.5f, 1.0f}, {0.5f, 0.5f, 4.0f}, 160, 0);
}

// A bitmap of width x height pixels from f(x, y) -> colour, x and y running from -1 to 1 across it.
std::vector<uint8_t> Pattern(int width, int height, const std::function<BmpColour(float, float)>& f) {
  std::vector<uint8_t> rgb;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      BmpColour c = f((x + 0.5f) / width * 2 - 1, (y + 0.5f) / height * 2 - 1);
      rgb.insert(rgb.end(), {c.red, c.green, c.blue});
    }
  }
  return EncodeBmp24(width, height, rgb.data());
}

uint8_t Level(float f) { return static_cast<uint8_t>(std::fmin(255.0f, std::fmax(0.0f, f * 255.0f))); }

BmpColour Tint(float f, float r, float g, float b) { return {Level(f * r), Level(f * g), Level(f * b)}; }

}  // namespace

std::vector<ShowImage> BuildShowOverlayImages() {
  auto star = [](float x, float y) {
    float d = std::sqrt(x * x + y * y);
    float rays = std::fmax(0.0f, 1.0f - 12 * std::fabs(x * y)) * std::fmax(0.0f, 1.0f - d);
    float core = std::fmax(0.0f, 1.0f - d * 1.6f);
    return Tint(core * core + 0.8f * rays, 1.0f, 0.95f, 0.7f);
  };
  auto ring = [](float x, float y) {
    float d = std::sqrt(x * x + y * y);
    float band = std::fmax(0.0f, 1.0f - std::fabs(d - 0.8f) * 8);
    return Tint(band, 0.4f, 0.9f, 1.0f);
  };
  // Three nested diamonds, warm to cool.
  auto logo = [](float x, float y) {
    float d = std::fabs(x) + std::fabs(y);
    for (float edge : {0.95f, 0.65f, 0.35f}) {
      if (std::fabs(d - edge) < 0.06f)
        return edge > 0.9f ? Tint(1, 1, 0.55f, 0.2f) : edge > 0.5f ? Tint(1, 1, 0.3f, 0.6f) : Tint(1, 0.4f, 0.7f, 1);
    }
    return BmpColour{0, 0, 0};
  };
  auto bar = [](float x, float) {
    return x > 0.98f ? BmpColour{0, 0, 0} : Tint(1, 1.0f - 0.4f * x, 0.45f, 0.3f + 0.5f * x);
  };
  return {{kStar.file, Pattern(kStar.width, kStar.height, star)},
          {kRing.file, Pattern(kRing.width, kRing.height, ring)},
          {kLogo.file, Pattern(kLogo.width, kLogo.height, logo)},
          {kBar.file, Pattern(kBar.width, kBar.height, bar)},
          {kFade.file, Pattern(kFade.width, kFade.height, [](float, float) {
             return BmpColour{0, 0, 0};
           })}};
}

std::vector<uint8_t> BuildShowOverlays(int index) {
  using Builder = void (*)(OverlayScript&, float);
  constexpr Builder kBuilders[kSceneCount] = {Opening, Spheres, Tunnel, Stage, Crystals, Hills, Spots, Helix, Finale};
  OverlayScript s;
  float seconds = ShowSceneSeconds(index);
  kBuilders[index](s, seconds);
  // Last, so that the black goes over everything else.
  s.Fades(seconds);
  return s.Bytes();
}
