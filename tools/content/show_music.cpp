// The default show's three music tracks, synthesised as 16-bit stereo PCM at 44100 Hz.
#include "tools/content/show_music.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
constexpr float kBeatsPerSecond = 2.0f;  // 120 beats per minute

// A minor progression, one chord per bar of four beats: A minor, F, C, G (MIDI note numbers).
constexpr int kChords[4][3] = {{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {55, 59, 62}};
constexpr int kBassRoots[4] = {45, 41, 48, 43};

float NoteFrequency(int note) { return 440.0f * std::pow(2.0f, (note - 69) / 12.0f); }

float Saw(float phase) { return 2.0f * (phase - std::floor(phase)) - 1.0f; }

float Triangle(float phase) { return 4.0f * std::fabs(phase - std::floor(phase + 0.5f)) - 1.0f; }

// Deterministic noise for the hats.
struct Noise {
  uint32_t state = 0x12345678u;
  float Next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
  }
};

struct Voices {
  bool pad, arp, bass, drums;
};

constexpr Voices kTrackVoices[3] = {
    {true, true, false, false},
    {true, true, true, false},
    {true, true, true, true},
};

}  // namespace

std::vector<int16_t> SynthesiseShowTrack(int track, float seconds) {
  const Voices& voices = kTrackVoices[std::clamp(track, 1, 3) - 1];
  const size_t frames = static_cast<size_t>(seconds * kShowMusicRate);
  std::vector<int16_t> pcm(frames * 2);
  Noise noise;
  float padLow = 0.0f;
  float chordHz[4][3], bassHz[4];
  for (int b = 0; b < 4; ++b) {
    for (int n = 0; n < 3; ++n) chordHz[b][n] = NoteFrequency(kChords[b][n]);
    bassHz[b] = NoteFrequency(kBassRoots[b]);
  }
  for (size_t i = 0; i < frames; ++i) {
    float t = static_cast<float>(i) / kShowMusicRate;
    float beat = t * kBeatsPerSecond;
    int bar = static_cast<int>(beat / 4.0f) % 4;
    float inBeat = beat - std::floor(beat);
    float sixteenth = beat * 4.0f;
    float inSixteenth = sixteenth - std::floor(sixteenth);
    float left = 0.0f, right = 0.0f;

    if (voices.pad) {
      float raw = 0.0f;
      for (float f : chordHz[bar]) raw += Saw(f * t) + Saw(f * 1.003f * t);
      padLow += 0.04f * (raw - padLow);  // soften the saws
      left += 0.05f * padLow;
      right += 0.05f * padLow;
    }
    if (voices.arp) {
      int step = static_cast<int>(sixteenth) % 4;
      float f = chordHz[bar][step % 3] * (step == 3 ? 4.0f : 2.0f);
      float envelope = std::exp(-inSixteenth * 6.0f);
      float v = 0.18f * envelope * Triangle(f * t);
      left += 0.7f * v;
      right += 1.0f * v;
    }
    if (voices.bass) {
      float f = bassHz[bar];
      float envelope = 0.6f + 0.4f * std::exp(-inBeat * 4.0f);
      float v = 0.22f * envelope * (std::sin(kTwoPi * f * t) + 0.3f * std::sin(2.0f * kTwoPi * f * t));
      left += v;
      right += v;
    }
    if (voices.drums) {
      float kickTime = inBeat / kBeatsPerSecond;
      float kick = 0.5f * std::exp(-kickTime * 18.0f) *
                   std::sin(kTwoPi * (50.0f * kickTime + 60.0f * (1.0f - std::exp(-kickTime * 30.0f)) / 30.0f));
      float hat = std::fmod(beat + 0.5f, 1.0f) < 0.05f ? 0.08f * noise.Next() : 0.0f;
      left += kick + hat;
      right += kick + 0.7f * hat;
    }
    // Fade in and out so that no track starts or stops with a click.
    float fade = std::min({1.0f, t / 1.5f, (seconds - t) / 2.0f});
    left *= fade;
    right *= fade;
    pcm[2 * i] = static_cast<int16_t>(std::clamp(left, -1.0f, 1.0f) * 32000.0f);
    pcm[2 * i + 1] = static_cast<int16_t>(std::clamp(right, -1.0f, 1.0f) * 32000.0f);
  }
  return pcm;
}

bool EncodeWithLame(const std::string& raw, const std::string& out, const std::string& options) {
  std::string command = "lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -t " + options + " '" + raw +
                        "' '" + out + "' 2>/dev/null";
  return std::system(command.c_str()) == 0;
}
