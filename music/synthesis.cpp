// Synthesis: hybrid filterbank and polyphase filterbank, in 32-bit floating point, written once over
// plain floats and vectors of 4 or 8 lanes.
#include "music/synthesis.h"

#include <cmath>
#include <cstring>

// MinGW-w64 cannot keep the 32-byte stack alignment that spilled 8-lane vectors need: the Windows build
// stays at 4 lanes.
#if defined(__x86_64__) && !defined(_WIN32)
#define QZ2_SYNTH_AVX2 1
#include <immintrin.h>
#endif

namespace {

constexpr int kWindowSize = 544;
constexpr int kRingEntry = kSubbands;

// Vectors cross function boundaries only by pointer or reference, so that 8-lane code compiled outside its
// AVX2 functions keeps the ABI. Words hold a stereo pair of 16-bit samples.
using Float4 = float __attribute__((vector_size(16)));
using Int4 = int32_t __attribute__((vector_size(16)));
using Word4 = uint32_t __attribute__((vector_size(16)));
#ifdef QZ2_SYNTH_AVX2
using Float8 = float __attribute__((vector_size(32)));
using Int8 = int32_t __attribute__((vector_size(32)));
using Word8 = uint32_t __attribute__((vector_size(32)));
#endif

template <typename T>
constexpr int kLanes = sizeof(T) / sizeof(float);
template <typename T>
struct IntLanes;
template <>
struct IntLanes<Float4> {
  using Int = Int4;
  using Word = Word4;
};
#ifdef QZ2_SYNTH_AVX2
template <>
struct IntLanes<Float8> {
  using Int = Int8;
  using Word = Word8;
};
#endif

template <typename T>
inline void Load(T& v, const float* p) {
  std::memcpy(&v, p, sizeof v);
}
template <typename T>
inline void Store(float* p, const T& v) {
  std::memcpy(p, &v, sizeof v);
}
inline void SetLane(float& v, int, float value) { v = value; }
template <typename T>
inline void SetLane(T& v, int lane, float value) {
  v[lane] = value;
}

// Rows of as many values as lanes become columns, in the processor's own shuffles.
inline void Transpose(float*) {}
inline void Transpose(Float4* r) {
  const Float4 a = __builtin_shufflevector(r[0], r[1], 0, 4, 1, 5);
  const Float4 b = __builtin_shufflevector(r[2], r[3], 0, 4, 1, 5);
  const Float4 c = __builtin_shufflevector(r[0], r[1], 2, 6, 3, 7);
  const Float4 d = __builtin_shufflevector(r[2], r[3], 2, 6, 3, 7);
  r[0] = __builtin_shufflevector(a, b, 0, 1, 4, 5);
  r[1] = __builtin_shufflevector(a, b, 2, 3, 6, 7);
  r[2] = __builtin_shufflevector(c, d, 0, 1, 4, 5);
  r[3] = __builtin_shufflevector(c, d, 2, 3, 6, 7);
}
#ifdef QZ2_SYNTH_AVX2
// Pairs within 128-bit halves, then quadruples, then the halves themselves.
inline void Transpose(Float8* r) {
  Float8 pairs[8];
  for (int i = 0; i < 8; i += 2) {
    pairs[i] = __builtin_shufflevector(r[i], r[i + 1], 0, 8, 1, 9, 4, 12, 5, 13);
    pairs[i + 1] = __builtin_shufflevector(r[i], r[i + 1], 2, 10, 3, 11, 6, 14, 7, 15);
  }
  Float8 quads[8];
  for (int i = 0; i < 8; i += 4) {
    for (int j = 0; j < 2; ++j) {
      quads[i + 2 * j] = __builtin_shufflevector(pairs[i + j], pairs[i + j + 2], 0, 1, 8, 9, 4, 5, 12, 13);
      quads[i + 2 * j + 1] = __builtin_shufflevector(pairs[i + j], pairs[i + j + 2], 2, 3, 10, 11, 6, 7, 14, 15);
    }
  }
  for (int j = 0; j < 4; ++j) {
    r[j] = __builtin_shufflevector(quads[j], quads[j + 4], 0, 1, 2, 3, 8, 9, 10, 11);
    r[j + 4] = __builtin_shufflevector(quads[j], quads[j + 4], 4, 5, 6, 7, 12, 13, 14, 15);
  }
}
#endif

// acc += a * b: rounded twice, fused on the AVX2 path.
template <typename T>
inline void MulAdd(T& acc, const T& a, const T& b) {
  acc += a * b;
}
#ifdef QZ2_SYNTH_AVX2
[[gnu::target("avx2,fma")]] inline void MulAdd(Float8& acc, const Float8& a, const Float8& b) {
  acc = Float8(_mm256_fmadd_ps(__m256(a), __m256(b), __m256(acc)));
}
#endif

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

  // IMDCT windows by block type, pre-divided for the transform below, for eight subbands side by side:
  // odd lanes have every odd position's sign flipped (frequency inversion). A subband alone takes its
  // window from the lane of its parity.
  float imdctWindows[4][36][8];
  float cos18[9];      // cos(k pi / 18)
  float cos6;          // cos(pi / 6)
  float twiddle36[9];  // 0.5 / cos((2i + 1) pi / 36)
  float twiddle12[3];  // 0.5 / cos((2i + 1) pi / 12)

  // The window weights of the 32 output samples by time lag (0 to 15), the alternating signs folded in,
  // in the order of a ring entry.
  alignas(64) float lagWeights[kRingSlots][kRingEntry];
  // 1 / (2 cos((2k + 1) pi / 2N)) for N = 32, 16, 8, 4, 2 at offset 32 - N.
  float dctTwiddles[31];
  // The same transform as a matrix by input: column k holds cos((2k + 1) n pi / 64) for n = 0 to 31.
  alignas(64) float dctColumns[kSubbands][kSubbands];
};

const SynthTables& SynthTablesOnce();

// E(m) = sum of y[p] cos(p (2m + 1) pi / 18) for m = 0 to 8 (y at stride 2), by the even and odd halves
// of p.
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

// At one position of the 36-sample result: out = prev + window * value (first half), or next = window *
// value (second half).
template <typename T>
inline void Overlap(const float* prev, float* out, const float* window, const T& value) {
  T p;
  T w;
  Load(p, prev);
  Load(w, window);
  Store(out, p + w * value);
}
template <typename T>
inline void Start(float* next, const float* window, const T& value) {
  T w;
  Load(w, window);
  Store(next, w * value);
}

// The 36-point IMDCT of the subbands side by side in the lanes of x (18 values each): the DCT-IV of 18
// values as a DCT-III of their running sums, split into two 9-point transforms; the 1 / (2 cos) factors
// of the outer step live in the windows. Overlap and output run at the stride of the subbands.
template <typename T>
void Imdct36(const SynthTables& t, T* x, const float* prev, float* next, const float* window, float* out) {
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
    Overlap(prev + lo, out + lo, window + 8 * (8 - m), a);
    Overlap(prev + hi, out + hi, window + 8 * (9 + m), a);
    Start(next + lo, window + 8 * (26 - m), b);
    Start(next + hi, window + 8 * (27 + m), b);
  }
}

// The 12-point IMDCT of one short window (6 values at stride 3), windowed into r[12].
template <typename T>
void Imdct12(const SynthTables& t, const T* in, const float* window, T* r) {
  T x[6];
  for (int k = 0; k < 6; ++k) x[k] = in[3 * k];
  for (int k = 5; k >= 1; --k) x[k] += x[k - 1];
  x[5] += x[3];
  x[3] += x[1];
  const float c = t.cos6;
  const T even[3] = {x[0] + c * x[2] + 0.5f * x[4], x[0] - x[4], x[0] - c * x[2] + 0.5f * x[4]};
  const T odd[3] = {x[1] + c * x[3] + 0.5f * x[5], x[1] - x[5], x[1] - c * x[3] + 0.5f * x[5]};
  for (int m = 0; m < 3; ++m) {
    const T o = odd[m] * t.twiddle12[m];
    const T a = even[m] - o;
    const T b = even[m] + o;
    T w[4];
    Load(w[0], window + 8 * (2 - m));
    Load(w[1], window + 8 * (3 + m));
    Load(w[2], window + 8 * (8 - m));
    Load(w[3], window + 8 * (9 + m));
    r[2 - m] = w[0] * a;
    r[3 + m] = w[1] * a;
    r[8 - m] = w[2] * b;
    r[9 + m] = w[3] * b;
  }
}

// Three short windows overlapped at 6, 12 and 18 of the 36-sample result.
template <typename T>
void ShortBlock(const SynthTables& t, const T* x, const float* prev, float* next, const float* window, float* out) {
  T r[3][12];
  for (int w = 0; w < 3; ++w) Imdct12(t, x + w, window, r[w]);
  for (int i = 0; i < 6; ++i) {
    T p[3];
    for (int k = 0; k < 3; ++k) Load(p[k], prev + (6 * k + i) * kSubbands);
    Store(out + i * kSubbands, p[0]);
    Store(out + (6 + i) * kSubbands, p[1] + r[0][i]);
    Store(out + (12 + i) * kSubbands, p[2] + r[0][6 + i] + r[1][i]);
    Store(next + i * kSubbands, r[1][6 + i] + r[2][i]);
    Store(next + (6 + i) * kSubbands, r[2][6 + i]);
    Store(next + (12 + i) * kSubbands, T{});
  }
}

bool Silent(const float* values, int count) {
  int any = 0;
  for (int k = 0; k < count; ++k) any |= values[k] != 0.0f;
  return !any;
}

// The subbands from sb up to end, as many at a time as T has lanes; returns the first subband left over.
template <typename T>
int HybridRun(const SynthTables& t, const float* spectrum, const float* prev, float* next, float* slots, int type,
              int sb, int end) {
  constexpr int kWidth = kLanes<T>;
  for (; sb + kWidth <= end; sb += kWidth) {
    // The subbands' values side by side: whole rows turned into columns, and the last of 18 lane by lane.
    T x[18];
    int k = 0;
    for (; k + kWidth <= 18; k += kWidth) {
      for (int lane = 0; lane < kWidth; ++lane) Load(x[k + lane], spectrum + 18 * (sb + lane) + k);
      Transpose(x + k);
    }
    for (; k < 18; ++k) {
      for (int lane = 0; lane < kWidth; ++lane) SetLane(x[k], lane, spectrum[18 * (sb + lane) + k]);
    }
    const float* window = &t.imdctWindows[type][0][sb & 1];
    if (type == 2) {
      ShortBlock(t, x, prev + sb, next + sb, window, slots + sb);
    } else {
      Imdct36(t, x, prev + sb, next + sb, window, slots + sb);
    }
  }
  return sb;
}

// The hybrid filterbank with the widths given, widest first; the last is float.
template <typename... Widths>
void Hybrid(SynthState& state, const float* spectrum, float* slots, int channel, const GranuleInfo& g) {
  const SynthTables& t = SynthTablesOnce();
  const int select = state.overlapSelect[channel];
  const float* prev = state.overlap[channel][select];
  float* next = state.overlap[channel][select ^ 1];
  const int prevBands = state.overlapBands[channel][select];
  int& nextBands = state.overlapBands[channel][select ^ 1];
  state.overlapSelect[channel] ^= 1;

  int sb = g.mixedBlock ? HybridRun<float>(t, spectrum, prev, next, slots, 0, 0, 2) : 0;
  // Subbands of zeros at the top transform to zeros: they join those past maxb.
  int end = g.maxb;
  while (end > sb && Silent(spectrum + kGranuleSlots * (end - 1), kGranuleSlots)) --end;
  ((sb = HybridRun<Widths>(t, spectrum, prev, next, slots, g.blockType, sb, end)), ...);
  // Past the transformed subbands the previous overlap plays out and the next one is silent; only the
  // subbands that held values need writing.
  const int passed = prevBands > sb ? prevBands : sb;
  for (int ss = 0; ss < kGranuleSlots; ++ss) {
    float* row = slots + ss * kSubbands;
    std::memcpy(row + sb, prev + ss * kSubbands + sb, sizeof(float) * size_t(passed - sb));
    std::memset(row + passed, 0, sizeof(float) * size_t(kSubbands - passed));
    if (nextBands > sb) std::memset(next + ss * kSubbands + sb, 0, sizeof(float) * size_t(nextBands - sb));
  }
  nextBands = sb;
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

// One past the last subband with a non-zero sample; 0 for a silent slot.
int LiveSubbands(const float* subbands) {
  int live = 0;
  for (int k = 0; k < kSubbands; ++k) live = subbands[k] != 0.0f ? k + 1 : live;
  return live;
}

// out = hi[0], lo[W - 1], lo[W - 2] ... lo[1]: the values just past a chunk of W, mirrored.
inline void Mirror(float& out, const float&, const float& hi) { out = hi; }
inline void Mirror(Float4& out, const Float4& lo, const Float4& hi) {
  out = __builtin_shufflevector(lo, hi, 4, 3, 2, 1);
}
#ifdef QZ2_SYNTH_AVX2
inline void Mirror(Float8& out, const Float8& lo, const Float8& hi) {
  out = __builtin_shufflevector(lo, hi, 8, 7, 6, 5, 4, 3, 2, 1);
}
#endif

// The slot's transform v, in chunks of W lanes with a chunk of zeros after v[31], as ring entries: for even
// lags v[16..31], 0, v[31..17]; for odd lags v[16..1], v[0..15]. Each entry's first 16 values serve output
// samples 0 to 15 and the rest, through the mirror symmetry of the transform, samples 16 to 31.
template <typename T>
void EnterRing(const T* v, float* even, float* odd) {
  constexpr int kWidth = kLanes<T>;
  for (int j = 0; j < 16; j += kWidth) {
    Store(even + j, v[(16 + j) / kWidth]);
    Store(odd + 16 + j, v[j / kWidth]);
    T mirrored[2];
    Mirror(mirrored[0], v[(32 - j) / kWidth - 1], v[(32 - j) / kWidth]);
    Mirror(mirrored[1], v[(16 - j) / kWidth - 1], v[(16 - j) / kWidth]);
    Store(even + 16 + j, mirrored[0]);
    Store(odd + j, mirrored[1]);
  }
}

// The 32-point transform of the live subbands into v (32 / W chunks): by butterflies, or with eight lanes
// as a matrix product, which fused multiply-adds make the cheaper and which need not touch silent subbands.
template <typename T>
void Matrixing(const SynthTables& t, const float* subbands, int live, T* v) {
  constexpr int kChunks = kSubbands / kLanes<T>;
  if constexpr (kLanes<T> == 8) {
    // Even and odd inputs in separate sums, for two chains of multiply-adds instead of one.
    T sums[2][kChunks] = {};
    for (int k = 0; k < live; k += 2) {
      for (int half = 0; half < 2; ++half) {
        // Past the last live subband on an odd count: a zero input.
        const T sample = T{} + (k + half < live ? subbands[k + half] : 0.0f);
        for (int q = 0; q < kChunks; ++q) {
          T column;
          Load(column, t.dctColumns[k + half] + 8 * q);
          MulAdd(sums[half][q], column, sample);
        }
      }
    }
    for (int q = 0; q < kChunks; ++q) v[q] = sums[0][q] + sums[1][q];
  } else {
    float values[kSubbands];
    DctII<kSubbands>(t.dctTwiddles, subbands, values);
    for (int q = 0; q < kChunks; ++q) Load(v[q], values + q * kLanes<T>);
  }
}

// The 32 sums as the channel's samples of the slot's 32 stereo pairs in frames.
int ClipStore(const float* sums, int channel, int16_t* frames) {
  int clipped = 0;
  for (int j = 0; j < kSubbands; ++j) frames[2 * j + channel] = ClipSample(sums[j], clipped);
  return clipped;
}
// The same in lanes: each pair is a 32-bit word (x86-64 is little-endian) whose other half is kept.
template <typename T>
int ClipStore(const T* sums, int channel, int16_t* frames) {
  using Int = typename IntLanes<T>::Int;
  using Word = typename IntLanes<T>::Word;
  const int shift = 16 * channel;
  const Word keep = Word{} + (0xFFFF0000u >> shift);
  Int over = {};
  for (int k = 0; k < kSubbands / kLanes<T>; ++k) {
    const T& sum = sums[k];
    over += ((sum < 32768.0f) == 0) | (sum <= -32769.0f);
    T c = sum > -32768.0f ? sum : T{} - 32768.0f;
    c = c < 32767.0f ? c : T{} + 32767.0f;
    const Word sample = Word(__builtin_convertvector(c, Int)) & 0xFFFF;
    int16_t* place = frames + 2 * k * kLanes<T>;
    Word pairs;
    std::memcpy(&pairs, place, sizeof pairs);
    pairs = (pairs & keep) | sample << shift;
    std::memcpy(place, &pairs, sizeof pairs);
  }
  int clipped = 0;
  for (int lane = 0; lane < kLanes<T>; ++lane) clipped -= over[lane];
  return clipped;
}

template <typename T>
int Polyphase(SynthState& state, const float* subbands, int channel, int16_t* frames) {
  const SynthTables& t = SynthTablesOnce();
  if (channel == 0) state.ringPosition = (state.ringPosition - 1) & (kRingSlots - 1);
  const int r = state.ringPosition;
  float* read = state.ring[channel][r & 1];
  float* even = read + kRingEntry * r;
  float* odd = state.ring[channel][(r & 1) ^ 1] + kRingEntry * r;
  int& silent = state.silentSlots[channel];
  if (const int live = LiveSubbands(subbands)) {
    silent = 0;
    T v[kSubbands / kLanes<T> + 1] = {};
    Matrixing(t, subbands, live, v);
    EnterRing(v, even, odd);
  } else if (silent < kRingSlots) {
    ++silent;
    std::memset(even, 0, sizeof(float) * kRingEntry);
    std::memset(odd, 0, sizeof(float) * kRingEntry);
  }
  if (silent == kRingSlots) {
    for (int j = 0; j < kSubbands; ++j) frames[2 * j + channel] = 0;
    return 0;
  }

  // Summed over ring positions from the one after an odd r's pair, in the plain path's order; with eight
  // lanes the first and last eight lags go to separate sums, for two chains of multiply-adds instead of one.
  constexpr int kVectors = kRingEntry / kLanes<T>;
  constexpr int kChains = kLanes<T> == 8 ? 2 : 1;
  T sums[kChains][kVectors] = {};
  const int first = r & 1 ? 0 : kRingSlots - 1;
  for (int i = 0; i < kRingSlots / kChains; ++i) {
    for (int chain = 0; chain < kChains; ++chain) {
      const int p = (first + chain * kRingSlots / kChains + i) & (kRingSlots - 1);
      const float* entry = read + kRingEntry * p;
      const float* weights = t.lagWeights[(p - r) & (kRingSlots - 1)];
      for (int k = 0; k < kVectors; ++k) {
        T e;
        T w;
        Load(e, entry + k * kLanes<T>);
        Load(w, weights + k * kLanes<T>);
        MulAdd(sums[chain][k], w, e);
      }
    }
  }
  for (int chain = 1; chain < kChains; ++chain) {
    for (int k = 0; k < kVectors; ++k) sums[0][k] += sums[chain][k];
  }
  return ClipStore(sums[0], channel, frames);
}

SynthTables::SynthTables() {
  const double pi = std::acos(-1.0);
  for (int i = 0; i < 36; ++i) {
    const double longWindow = std::sin(pi / 36 * (i + 0.5));
    const double divisor = 0.5 / std::cos(pi * (2 * i + 19) / 72);
    double start = longWindow;
    if (i >= 18) start = i < 24 ? 1.0 : i < 30 ? std::sin(pi / 12 * (i - 18 + 0.5)) : 0.0;
    double stop = longWindow;
    if (i < 18) stop = i < 6 ? 0.0 : i < 12 ? std::sin(pi / 12 * (i - 6 + 0.5)) : 1.0;
    const float windows[4] = {
        float(longWindow * divisor), float(start * divisor),
        i < 12 ? float(std::sin(pi / 12 * (i + 0.5)) * 0.5 / std::cos(pi * (2 * i + 7) / 24)) : 0.0f,
        float(stop * divisor)};
    for (int type = 0; type < 4; ++type) {
      for (int lane = 0; lane < 8; ++lane) imdctWindows[type][i][lane] = lane & i & 1 ? -windows[type] : windows[type];
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
  for (int k = 0; k < kSubbands; ++k) {
    for (int n = 0; n < kSubbands; ++n) dctColumns[k][n] = float(std::cos((2 * k + 1) * n * pi / 64));
  }
  // Coefficient j goes to two places 16 apart: row k of 32 holds the coefficients of ring lag k, by
  // window column.
  float window[kWindowSize];
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
  // Lag l reads window column c = 16 + l: entry value k < 17 serves sample k, with the sign of the
  // column's parity; value k from 1 to 15 also serves sample 32 - k, negated and read mirrored.
  for (int lag = 0; lag < kRingSlots; ++lag) {
    const int c = 16 + lag;
    for (int k = 0; k <= 16; ++k) lagWeights[lag][k] = c & 1 ? window[32 * k + c] : -window[32 * k + c];
    for (int k = 1; k < 16; ++k) lagWeights[lag][32 - k] = -window[32 * k + 31 - c];
  }
}

const SynthTables& SynthTablesOnce() {
  static const SynthTables tables;
  return tables;
}

struct SynthKernels {
  void (*hybrid)(SynthState& state, const float* spectrum, float* slots, int channel, const GranuleInfo& g);
  int (*polyphase)(SynthState& state, const float* subbands, int channel, int16_t* frames);
};

#ifdef QZ2_SYNTH_AVX2
[[gnu::target("avx2,fma"), gnu::flatten]] void HybridAvx2(SynthState& state, const float* spectrum, float* slots,
                                                          int channel, const GranuleInfo& g) {
  Hybrid<Float8, Float4, float>(state, spectrum, slots, channel, g);
}
[[gnu::target("avx2,fma"), gnu::flatten]] int PolyphaseAvx2(SynthState& state, const float* subbands, int channel,
                                                            int16_t* frames) {
  return Polyphase<Float8>(state, subbands, channel, frames);
}
#endif

// By SynthPath.
constexpr SynthKernels kKernels[] = {
    {Hybrid<float>, Polyphase<float>},
    {Hybrid<Float4, float>, Polyphase<Float4>},
#ifdef QZ2_SYNTH_AVX2
    {HybridAvx2, PolyphaseAvx2},
#endif
};

}  // namespace

bool SynthPathSupported(SynthPath path) {
  switch (path) {
    case SynthPath::Plain:
      return true;
    case SynthPath::Sse2:
#ifdef __x86_64__
      return true;
#else
      return false;
#endif
    case SynthPath::Avx2:
#ifdef QZ2_SYNTH_AVX2
      // Also runs before main, from static constructors.
      __builtin_cpu_init();
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#else
      return false;
#endif
  }
  return false;
}

SynthPath FastestSynthPath() {
  static const SynthPath fastest = SynthPathSupported(SynthPath::Avx2)   ? SynthPath::Avx2
                                   : SynthPathSupported(SynthPath::Sse2) ? SynthPath::Sse2
                                                                         : SynthPath::Plain;
  return fastest;
}

void HybridSynthesis(SynthState& state, const float* spectrum, float* slots, int channel, const GranuleInfo& g) {
  kKernels[int(state.path)].hybrid(state, spectrum, slots, channel, g);
}

int PolyphaseSynth(SynthState& state, const float* subbands, int channel, int16_t* frames) {
  return kKernels[int(state.path)].polyphase(state, subbands, channel, frames);
}

void CopySynthState(SynthState& state, int from, int to) {
  std::memcpy(state.overlap[to], state.overlap[from], sizeof state.overlap[0]);
  state.overlapSelect[to] = state.overlapSelect[from];
  std::memcpy(state.overlapBands[to], state.overlapBands[from], sizeof state.overlapBands[0]);
  std::memcpy(state.ring[to], state.ring[from], sizeof state.ring[0]);
  state.silentSlots[to] = state.silentSlots[from];
}
