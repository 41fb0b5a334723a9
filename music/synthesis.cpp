// Synthesis: hybrid filterbank and polyphase filterbank, in 32-bit floating point.
#include "music/synthesis.h"

#include <cmath>
#include <cstring>

namespace {

constexpr int kWindowSize = 544;

using Float4 = float __attribute__((vector_size(16)));

// The window coefficients of the synthesis filterbank times 65536, rounded, for j = 0 to 256. The sign
// of the blocks 64 to 127 and 192 to 255 is turned so that the curve runs smooth; the sign of the scale
// flips back every 64 coefficients when the window is built.
// clang-format off
constexpr int32_t kWindowCoefficients[257] = {
       0,     -1,     -1,     -1,     -1,     -1,     -1,     -2,     -2,     -2,
      -2,     -3,     -3,     -4,     -4,     -5,     -5,     -6,     -7,     -7,
      -8,     -9,    -10,    -11,    -13,    -14,    -16,    -17,    -19,    -21,
     -24,    -26,    -29,    -31,    -35,    -38,    -41,    -45,    -49,    -53,
     -58,    -63,    -68,    -73,    -79,    -85,    -91,    -97,   -104,   -111,
    -117,   -125,   -132,   -139,   -147,   -154,   -161,   -169,   -176,   -183,
    -190,   -196,   -202,   -208,   -213,   -218,   -222,   -225,   -227,   -228,
    -228,   -227,   -224,   -221,   -215,   -208,   -200,   -189,   -177,   -163,
    -146,   -127,   -106,    -83,    -57,    -29,      2,     36,     72,    111,
     153,    197,    244,    294,    347,    401,    459,    519,    581,    645,
     711,    779,    848,    919,    991,   1064,   1137,   1210,   1283,   1356,
    1428,   1498,   1567,   1634,   1698,   1759,   1817,   1870,   1919,   1962,
    2001,   2032,   2057,   2075,   2085,   2087,   2080,   2063,   2037,   2000,
    1952,   1893,   1822,   1739,   1644,   1535,   1414,   1280,   1131,    970,
     794,    605,    402,    185,    -45,   -288,   -545,   -814,  -1095,  -1388,
   -1692,  -2006,  -2330,  -2663,  -3004,  -3351,  -3705,  -4063,  -4425,  -4788,
   -5153,  -5517,  -5879,  -6237,  -6589,  -6935,  -7271,  -7597,  -7910,  -8209,
   -8491,  -8755,  -8998,  -9219,  -9416,  -9585,  -9727,  -9838,  -9916,  -9959,
   -9966,  -9935,  -9863,  -9750,  -9592,  -9389,  -9139,  -8840,  -8492,  -8092,
   -7640,  -7134,  -6574,  -5959,  -5288,  -4561,  -3776,  -2935,  -2037,  -1082,
     -70,    998,   2122,   3300,   4533,   5818,   7154,   8540,   9975,  11455,
   12980,  14548,  16155,  17799,  19478,  21189,  22929,  24694,  26482,  28289,
   30112,  31947,  33791,  35640,  37489,  39336,  41176,  43006,  44821,  46617,
   48390,  50137,  51853,  53534,  55178,  56778,  58333,  59838,  61289,  62684,
   64019,  65290,  66494,  67629,  68692,  69679,  70590,  71420,  72169,  72835,
   73415,  73908,  74313,  74630,  74856,  74992,  75038,
};
// clang-format on

// Built once per process and only read afterwards, by every decoder on every thread.
struct SynthTables {
  SynthTables();

  // IMDCT windows by block type, pre-divided for the transform below; [1] has every odd position's sign
  // flipped for the odd subbands (frequency inversion).
  float imdctWindows[2][4][36];
  // The same for four subbands side by side, even and odd alternating.
  Float4 imdctWindows4[4][36];
  float cos18[9];      // cos(k pi / 18)
  float cos6;          // cos(pi / 6)
  float twiddle36[9];  // 0.5 / cos((2i + 1) pi / 36)
  float twiddle12[3];  // 0.5 / cos((2i + 1) pi / 12)

  float window[kWindowSize];
  // The window by lag column c (0 to 31) and ring row k, for dot products that run along the rows:
  // rows 0 to 16 with the alternating signs folded in give the output samples 0 to 16; rows 1 to 15 of
  // the mirror (reversed and negated) give the samples 31 down to 17.
  float forwardRows[32][17];
  float mirrorRows[32][17];
  // 1 / (2 cos((2k + 1) pi / 2N)) for N = 32, 16, 8, 4, 2 at offset 32 - N.
  float dctTwiddles[31];
};

const SynthTables& Tables();

// E(m) = sum of y[p] cos(p (2m + 1) pi / 18) for m = 0 to 8 (y at stride 2), by the even and odd halves
// of p. T is a float, or four floats of four subbands at once.
template <typename T>
inline void Dct9(const float* cos18, const T* y, T* e) {
  const float c1 = cos18[1], c2 = cos18[2], c3 = cos18[3], c4 = cos18[4];
  const float c5 = cos18[5], c7 = cos18[7], c8 = cos18[8];
  const T y0 = y[0], y1 = y[2], y2 = y[4], y3 = y[6], y4 = y[8];
  const T y5 = y[10], y6 = y[12], y7 = y[14], y8 = y[16];
  const T base = y0 + 0.5f * y6;
  const T even0 = base + c2 * y2 + c4 * y4 + c8 * y8;
  const T even1 = y0 - y6 + 0.5f * (y2 - y4 - y8);
  const T even2 = base - c8 * y2 - c2 * y4 + c4 * y8;
  const T even3 = base - c4 * y2 + c8 * y4 - c2 * y8;
  const T odd0 = c1 * y1 + c3 * y3 + c5 * y5 + c7 * y7;
  const T odd1 = c3 * (y1 - y5 - y7);
  const T odd2 = c5 * y1 - c3 * y3 - c7 * y5 + c1 * y7;
  const T odd3 = c7 * y1 - c3 * y3 + c1 * y5 - c5 * y7;
  e[0] = even0 + odd0;
  e[8] = even0 - odd0;
  e[1] = even1 + odd1;
  e[7] = even1 - odd1;
  e[2] = even2 + odd2;
  e[6] = even2 - odd2;
  e[3] = even3 + odd3;
  e[5] = even3 - odd3;
  e[4] = y0 - y2 + y4 - y6 + y8;
}

template <typename T>
inline T Load(const float* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
template <typename T>
inline void Store(float* p, T v) {
  std::memcpy(p, &v, sizeof v);
}

// The 36-point IMDCT of one subband, or of four side by side: the DCT-IV of 18 values as a DCT-III of
// their running sums, split into two 9-point transforms; the 1 / (2 cos) factors of the outer step live
// in the windows. Overlap and output run at the stride of the subbands.
template <typename T>
void Imdct36(const SynthTables& t, T* x, const float* prev, float* next, const T* window, float* out) {
  for (int k = 17; k >= 1; --k) x[k] += x[k - 1];
  for (int k = 17; k >= 3; k -= 2) x[k] += x[k - 2];
  T even[9];
  T odd[9];
  Dct9(t.cos18, x, even);
  Dct9(t.cos18, x + 1, odd);
  for (int m = 0; m < 9; ++m) {
    const T o = odd[m] * t.twiddle36[m];
    const T a = even[m] - o;
    const T b = even[m] + o;
    const int lo = (8 - m) * kSubbands;
    const int hi = (9 + m) * kSubbands;
    Store(out + lo, Load<T>(prev + lo) + window[8 - m] * a);
    Store(out + hi, Load<T>(prev + hi) + window[9 + m] * a);
    Store(next + lo, window[26 - m] * b);
    Store(next + hi, window[27 + m] * b);
  }
}

// The 12-point IMDCT of one short window (6 values at stride 3), windowed into r[12].
void Imdct12(const SynthTables& t, const float* in, const float* window, float* r) {
  float x[6];
  for (int k = 0; k < 6; ++k) x[k] = in[3 * k];
  for (int k = 5; k >= 1; --k) x[k] += x[k - 1];
  x[5] += x[3];
  x[3] += x[1];
  const float c = t.cos6;
  const float even[3] = {x[0] + c * x[2] + 0.5f * x[4], x[0] - x[4], x[0] - c * x[2] + 0.5f * x[4]};
  const float odd[3] = {x[1] + c * x[3] + 0.5f * x[5], x[1] - x[5], x[1] - c * x[3] + 0.5f * x[5]};
  for (int m = 0; m < 3; ++m) {
    const float o = odd[m] * t.twiddle12[m];
    const float a = even[m] - o;
    const float b = even[m] + o;
    r[2 - m] = window[2 - m] * a;
    r[3 + m] = window[3 + m] * a;
    r[8 - m] = window[8 - m] * b;
    r[9 + m] = window[9 + m] * b;
  }
}

// Three short windows overlapped at 6, 12 and 18 of the 36-sample result.
void ShortBlock(const SynthTables& t, const float* x, const float* prev, float* next, const float* window, float* out) {
  float r[3][12];
  for (int w = 0; w < 3; ++w) Imdct12(t, x + w, window, r[w]);
  for (int i = 0; i < 6; ++i) {
    out[i * kSubbands] = prev[i * kSubbands];
    out[(6 + i) * kSubbands] = prev[(6 + i) * kSubbands] + r[0][i];
    out[(12 + i) * kSubbands] = prev[(12 + i) * kSubbands] + r[0][6 + i] + r[1][i];
    next[i * kSubbands] = r[1][6 + i] + r[2][i];
    next[(6 + i) * kSubbands] = r[2][6 + i];
    next[(12 + i) * kSubbands] = 0.0f;
  }
}

// twiddles: SynthTables::dctTwiddles.
template <int N>
inline void DctII(const float* twiddles, const float* in, float* out) {
  if constexpr (N == 1) {
    out[0] = in[0];
  } else {
    constexpr int kHalf = N / 2;
    const float* twiddle = twiddles + (32 - N);
    float even[kHalf];
    float odd[kHalf];
    for (int k = 0; k < kHalf; ++k) {
      even[k] = in[k] + in[N - 1 - k];
      odd[k] = (in[k] - in[N - 1 - k]) * twiddle[k];
    }
    float evenOut[kHalf];
    float oddOut[kHalf];
    DctII<kHalf>(twiddles, even, evenOut);
    DctII<kHalf>(twiddles, odd, oddOut);
    for (int n = 0; n < kHalf - 1; ++n) {
      out[2 * n] = evenOut[n];
      out[2 * n + 1] = oddOut[n] + oddOut[n + 1];
    }
    out[N - 2] = evenOut[kHalf - 1];
    out[N - 1] = oddOut[kHalf - 1];
  }
}

SynthTables::SynthTables() {
  const double pi = std::acos(-1.0);
  float(&windows)[4][36] = imdctWindows[0];
  for (int i = 0; i < 36; ++i) {
    const double longWindow = std::sin(pi / 36 * (i + 0.5));
    const double divisor = 0.5 / std::cos(pi * (2 * i + 19) / 72);
    windows[0][i] = float(longWindow * divisor);
    double start = longWindow;
    if (i >= 18) start = i < 24 ? 1.0 : i < 30 ? std::sin(pi / 12 * (i - 18 + 0.5)) : 0.0;
    double stop = longWindow;
    if (i < 18) stop = i < 6 ? 0.0 : i < 12 ? std::sin(pi / 12 * (i - 6 + 0.5)) : 1.0;
    windows[1][i] = float(start * divisor);
    windows[3][i] = float(stop * divisor);
    windows[2][i] = i < 12 ? float(std::sin(pi / 12 * (i + 0.5)) * 0.5 / std::cos(pi * (2 * i + 7) / 24)) : 0.0f;
  }
  for (int type = 0; type < 4; ++type) {
    for (int i = 0; i < 36; ++i) {
      imdctWindows[1][type][i] = i & 1 ? -windows[type][i] : windows[type][i];
      const float plain = imdctWindows[0][type][i];
      const float flipped = imdctWindows[1][type][i];
      imdctWindows4[type][i] = Float4{plain, flipped, plain, flipped};
    }
  }
  for (int k = 0; k < 9; ++k) {
    cos18[k] = float(std::cos(k * pi / 18));
    twiddle36[k] = float(0.5 / std::cos((2 * k + 1) * pi / 36));
  }
  for (int i = 0; i < 3; ++i) twiddle12[i] = float(0.5 / std::cos((2 * i + 1) * pi / 12));
  cos6 = float(std::cos(pi / 6));

  for (int n = 32, offset = 0; n >= 2; offset += n / 2, n /= 2) {
    for (int k = 0; k < n / 2; ++k) {
      dctTwiddles[offset + k] = float(1.0 / (2.0 * std::cos((2 * k + 1) * pi / (2 * n))));
    }
  }
  // Coefficient j goes to two places 16 apart: row j % 32 holds the 16 time lags of output sample j.
  double sign = -double(kSynthScale);
  int place = 0;
  for (int step = 0; step < 512; ++step) {
    const int j = step < 256 ? step : 512 - step;
    if (place < kWindowSize - 16) {
      window[place] = window[place + 16] = float(kWindowCoefficients[j] * sign / 65536.0);
    }
    place += 32;
    if (step % 32 == 31) place -= 1023;
    if (step % 64 == 63) sign = -sign;
  }
  for (int c = 0; c < 32; ++c) {
    for (int k = 0; k < kRingRow; ++k) {
      forwardRows[c][k] = c & 1 ? window[32 * k + c] : -window[32 * k + c];
      mirrorRows[c][k] = k > 0 && k < 16 ? -window[32 * k + 31 - c] : 0.0f;
    }
  }
}

const SynthTables& Tables() {
  static const SynthTables tables;
  return tables;
}

}  // namespace

void HybridSynthesis(SynthState& state, float* spectrum, float* slots, int channel, const GranuleInfo& g) {
  const SynthTables& t = Tables();
  const float* prev = state.overlap[channel][state.overlapSelect[channel]];
  float* next = state.overlap[channel][state.overlapSelect[channel] ^ 1];
  state.overlapSelect[channel] ^= 1;

  int sb = 0;
  if (g.mixedBlock) {
    for (; sb < 2; ++sb) {
      Imdct36(t, spectrum + 18 * sb, prev + sb, next + sb, t.imdctWindows[sb & 1][0], slots + sb);
    }
  }
  const int end = (g.maxb + 1) & ~1;
  if (g.blockType != 2) {
    for (; sb + 4 <= end; sb += 4) {
      Float4 x[18];
      for (int k = 0; k < 18; ++k) {
        x[k] = Float4{spectrum[18 * sb + k], spectrum[18 * sb + 18 + k], spectrum[18 * sb + 36 + k],
                      spectrum[18 * sb + 54 + k]};
      }
      Imdct36(t, x, prev + sb, next + sb, t.imdctWindows4[g.blockType], slots + sb);
    }
  }
  for (; sb < end; ++sb) {
    const float* window = t.imdctWindows[sb & 1][g.blockType];
    if (g.blockType == 2) {
      ShortBlock(t, spectrum + 18 * sb, prev + sb, next + sb, window, slots + sb);
    } else {
      Imdct36(t, spectrum + 18 * sb, prev + sb, next + sb, window, slots + sb);
    }
  }
  for (; sb < kSubbands; ++sb) {
    for (int ss = 0; ss < kGranuleSlots; ++ss) {
      slots[ss * kSubbands + sb] = prev[ss * kSubbands + sb];
      next[ss * kSubbands + sb] = 0.0f;
    }
  }
}

int PolyphaseSynth(SynthState& state, const float* subbands, int channel, int16_t* out) {
  const SynthTables& t = Tables();
  if (channel == 0) state.ringPosition = (state.ringPosition - 1) & 15;
  const int r = state.ringPosition;
  float v[32];
  DctII<32>(t.dctTwiddles, subbands, v);

  // The vector of this slot is stored as two sets of 17 at one ring position each: v[16..31] and 0 for
  // the samples read at even time lags, v[16..0] for the odd lags. The buffer read holds the even-lag
  // sets of the slots at even lags and the odd-lag sets of those at odd lags.
  float* first = state.ring[channel][0];
  float* second = state.ring[channel][1];
  float* even = r & 1 ? first : second;
  float* odd = r & 1 ? second : first;
  const int evenPlace = r & 1 ? r : r + 1;
  const int oddPlace = r & 1 ? (r + 1) & 15 : r;
  float* evenSet = even + kRingRow * evenPlace;
  float* oddSet = odd + kRingRow * oddPlace;
  for (int k = 0; k < 16; ++k) evenSet[k] = v[16 + k];
  evenSet[16] = 0.0f;
  for (int k = 0; k <= 16; ++k) oddSet[k] = v[16 - k];

  // Ring position p holds time lag (p - evenPlace) mod 16, whose window column is 16 - evenPlace + p.
  const int offset = 16 - evenPlace;
  float sums[kRingRow] = {};
  float mirrored[kRingRow] = {};
  for (int p = 0; p < 16; ++p) {
    const float* set = even + kRingRow * p;
    const float* forward = t.forwardRows[offset + p];
    const float* mirror = t.mirrorRows[offset + p];
    for (int k = 0; k < kRingRow; ++k) {
      sums[k] += forward[k] * set[k];
      mirrored[k] += mirror[k] * set[k];
    }
  }

  float samples[32];
  for (int j = 0; j < kRingRow; ++j) samples[j] = sums[j];
  for (int j = kRingRow; j < 32; ++j) samples[j] = mirrored[32 - j];
  int clipped = 0;
  int16_t values[32];
  for (int j = 0; j < 32; ++j) values[j] = ClipSample(samples[j], clipped);
  for (int j = 0; j < 32; ++j) out[2 * j] = values[j];
  return clipped;
}

void CopySynthState(SynthState& state, int from, int to) {
  std::memcpy(state.overlap[to], state.overlap[from], sizeof state.overlap[0]);
  state.overlapSelect[to] = state.overlapSelect[from];
  std::memcpy(state.ring[to], state.ring[from], sizeof state.ring[0]);
}
