// Layer III decoding: scale factors, Huffman data with requantisation, stereo processing and alias reduction.
#include "music/layer3.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "music/huffman.h"
#include "music/mp3_decoder.h"

namespace {

constexpr int kPairsPerGranule = kGranuleLines / 2;
constexpr int kLongBands = 22;
constexpr int kShortBands = 13;
constexpr int kMaxMagnitude = 8206;  // 15 plus 13 linbits
// Gain base at most 256 + 2 (global_gain 0, mid/side), subblock gain 7 steps of 8, and a scale factor of
// at most 31 (LSF) plus pre-emphasis 3 at 4 entries each.
constexpr int kGainPowerCount = 258 + 56 + (31 + 3) * 4 + 1;
constexpr int kIntensityPositions = 32;
// A pair takes at most a 19-bit code and two values of 13 linbits and a sign.
constexpr int kMaxPairBits = 19 + 2 * (13 + 1);
// A quadruple takes at most a 6-bit code and four signs.
constexpr int kMaxQuadBits = 6 + 4;

using BitWindow = unsigned __int128;

struct BandEntry {
  int16_t pairs;
  int16_t start;  // first spectrum position
  int8_t window;  // 0 to 2, 3 for a long band
  int8_t band;
  int8_t scalefac;  // index into the channel's scale factors
  int8_t preemphasis;
};

struct BandMap {
  BandEntry mixed[8 + 3 * 10];
  int mixedCount;
  BandEntry shortBlocks[3 * kShortBands];
  BandEntry longBlocks[kLongBands];
};

constexpr int8_t kPreemphasis[kLongBands] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 3, 3, 3, 2, 0};
constexpr double kAliasCoefficients[8] = {-0.6, -0.535, -0.33, -0.185, -0.095, -0.041, -0.0142, -0.0037};

// Built once per process and only read afterwards, by every decoder on every thread.
struct Layer3Tables {
  Layer3Tables();

  float gainPowers[kGainPowerCount];
  float magnitudePowers[kMaxMagnitude + 1];
  float aliasCs[8];
  float aliasCa[8];
  // [mid/side][position][channel]
  float intensityMpeg1[2][16][2];
  // [intensity scale][mid/side][position][channel]
  float intensityLsf[2][2][kIntensityPositions][2];
  uint16_t lsfLengthCodes[512 + 256];
  BandMap bandMaps[kSamplingFrequencyCount];
  // Subbands that need the filterbank by the band boundary that ends the data; the decoder caps them at
  // its stream's subband limit.
  int32_t longSubbandLimit[kSamplingFrequencyCount][23];
  int32_t shortSubbandLimit[kSamplingFrequencyCount][14];
};

const Layer3Tables& Layer3TablesOnce();

int MixedLongBands(int sfreq) { return sfreq < 3 ? 8 : 6; }

int ShortScalefacIndex(int band, int window, bool mixed, int sfreq) {
  return mixed ? MixedLongBands(sfreq) + 3 * (band - 3) + window : 3 * band + window;
}

uint16_t LsfLengthCode(int s0, int s1, int s2, int s3, int row, int preflag) {
  return uint16_t(s0 | s1 << 3 | s2 << 6 | s3 << 9 | row << 12 | preflag << 15);
}

void BuildLsfLengthCodes(uint16_t* codes) {
  for (int sfc = 0; sfc < 512; ++sfc) {
    if (sfc < 400) {
      codes[sfc] = LsfLengthCode((sfc >> 4) / 5, (sfc >> 4) % 5, (sfc & 15) >> 2, sfc & 3, 0, 0);
    } else if (sfc < 500) {
      const int s = sfc - 400;
      codes[sfc] = LsfLengthCode((s >> 2) / 5, (s >> 2) % 5, s & 3, 0, 1, 0);
    } else {
      const int s = sfc - 500;
      codes[sfc] = LsfLengthCode(s / 3, s % 3, 0, 0, 2, 1);
    }
  }
  for (int isfc = 0; isfc < 256; ++isfc) {
    uint16_t& code = codes[512 + isfc];
    if (isfc < 180) {
      code = LsfLengthCode(isfc / 36, (isfc % 36) / 6, (isfc % 36) % 6, 0, 3, 0);
    } else if (isfc < 244) {
      const int s = isfc - 180;
      code = LsfLengthCode((s % 64) >> 4, (s % 16) >> 2, s % 4, 0, 4, 0);
    } else {
      const int s = isfc - 244;
      code = LsfLengthCode(s / 3, s % 3, 0, 0, 5, 0);
    }
  }
}

void AddShortEntries(BandEntry* entries, int& count, int firstBand, bool mixed, int sfreq) {
  const int16_t* bounds = kShortBandBounds[sfreq];
  for (int b = firstBand; b < kShortBands; ++b) {
    for (int w = 0; w < 3; ++w) {
      entries[count++] = BandEntry{int16_t((bounds[b + 1] - bounds[b]) / 2),
                                   int16_t(3 * bounds[b] + w),
                                   int8_t(w),
                                   int8_t(b),
                                   int8_t(ShortScalefacIndex(b, w, mixed, sfreq)),
                                   0};
    }
  }
}

void BuildBandMap(BandMap& map, int sfreq) {
  const int16_t* bounds = kLongBandBounds[sfreq];
  for (int b = 0; b < kLongBands; ++b) {
    map.longBlocks[b] =
        BandEntry{int16_t((bounds[b + 1] - bounds[b]) / 2), bounds[b], 3, int8_t(b), int8_t(b), kPreemphasis[b]};
  }
  int count = 0;
  for (int b = 0; b < MixedLongBands(sfreq); ++b) {
    map.mixed[count] = map.longBlocks[b];
    map.mixed[count++].preemphasis = 0;
  }
  AddShortEntries(map.mixed, count, 3, true, sfreq);
  map.mixedCount = count;
  count = 0;
  AddShortEntries(map.shortBlocks, count, 0, false, sfreq);
}

// One code through the look-up steps: its value, with its bits taken from the window.
inline int HuffmanDecode(const uint16_t* lookup, uint64_t& bits, int& used) {
  uint32_t e = lookup[bits >> (64 - kHuffmanRootBits)];
  if (e & kHuffmanPointer) {
    bits <<= kHuffmanRootBits;
    used += kHuffmanRootBits;
    for (;;) {
      e = lookup[(e & ~uint32_t(kHuffmanPointer)) + (bits >> (64 - kHuffmanSubBits))];
      if (!(e & kHuffmanPointer)) break;
      bits <<= kHuffmanSubBits;
      used += kHuffmanSubBits;
    }
  }
  const int length = int(e >> 8);
  bits <<= length;
  used += length;
  return int(e & 0xff);
}

// std::bit_cast, which the browser build's C++ library lacks; every compiler of ours has the builtin.
template <typename To, typename From>
inline To BitCast(const From& from) {
  return __builtin_bit_cast(To, from);
}

// The signed value of a magnitude: its power times the gain, with the sign bit that follows a non-zero
// magnitude. Built from masks, as zero and non-zero magnitudes alternate unpredictably.
inline float SignedValue(const float* powers, int magnitude, float gain, uint64_t& bits, int& used) {
  const int nonZero = magnitude != 0;
  const uint32_t sign = uint32_t(bits >> 63) & uint32_t(nonZero);
  bits <<= nonZero;
  used += nonZero;
  return BitCast<float>(BitCast<uint32_t>(gain * powers[magnitude]) ^ sign << 31);
}

// The decoding of one channel's Huffman data. In mid/side mode each side value s goes at once into both
// spectra: side = mid - s, then mid = mid + s; otherwise the value goes into the spectrum.
template <bool kMidSide>
int DequantizeInto(BitReader& reader, float* x, float* mid, const int32_t* scalefac, GranuleInfo& g, int sfreq,
                   int part2Bits, int subbandLimit) {
  if (kMidSide) {
    std::memcpy(x, mid, sizeof(float) * kGranuleLines);
  } else {
    std::memset(x, 0, sizeof(float) * kGranuleLines);
  }
  const Layer3Tables& tables = Layer3TablesOnce();
  const int64_t limit = int64_t(reader.position) + g.part23Length - part2Bits;

  const BandMap& map = tables.bandMaps[sfreq];
  const BandEntry* entry;
  int entriesLeft;
  if (g.blockType != 2) {
    entry = map.longBlocks;
    entriesLeft = kLongBands;
  } else if (g.mixedBlock) {
    entry = map.mixed;
    entriesLeft = map.mixedCount;
  } else {
    entry = map.shortBlocks;
    entriesLeft = 3 * kShortBands;
  }
  const int shift = 1 + g.scalefacScale;
  int last[4] = {-1, -1, -1, -1};
  if (g.blockType == 2 && g.mixedBlock) last[0] = last[1] = last[2] = 2;

  int pairsLeft = 0;
  int pos = 0;
  int stride = 1;
  float gain = 0.0f;
  int window = 3;
  int band = 0;
  int bandNonZero = 0;
  auto noteBand = [&]() {
    if (bandNonZero) last[window] = band;
    bandNonZero = 0;
  };
  // Moves to the next band of the map at a band's end; false past the last band.
  auto nextBand = [&]() {
    if (pairsLeft > 0) return true;
    noteBand();
    if (entriesLeft == 0) return false;
    const BandEntry& e = *entry++;
    --entriesLeft;
    pairsLeft = e.pairs;
    pos = e.start;
    window = e.window;
    band = e.band;
    stride = window == 3 ? 1 : 3;
    const int base = window == 3 ? g.gainBase : g.subblockGain[window];
    const int preflag = window == 3 && g.blockType != 2 ? g.preflag : 0;
    gain = tables.gainPowers[base + ((scalefac[e.scalefac] + preflag * e.preemphasis) << shift)];
    return true;
  };
  // Zero values are stored too (a no-op on the cleared or copied spectrum), so that nothing jumps on them.
  auto store = [&](int p, int magnitude, float value) {
    bandNonZero |= magnitude;
    if (kMidSide) {
      x[p] = mid[p] - value;
      mid[p] += value;
    } else {
      x[p] = value;
    }
  };

  const uint8_t* data = reader.data;
  uint32_t position = reader.position;
  int regionPairs[3];
  if (g.region1Start < g.bigValues) {
    regionPairs[0] = g.region1Start;
    regionPairs[1] = std::max(0, std::min(g.region2Start, g.bigValues) - g.region1Start);
    regionPairs[2] = std::max(0, g.bigValues - std::max(g.region2Start, g.region1Start));
  } else {
    regionPairs[0] = g.bigValues;
    regionPairs[1] = regionPairs[2] = 0;
  }
  // The codes are read ahead through a 128-bit window, so that the next code's bits do not wait for a
  // load after the previous code.
  BitWindow ahead = 0;
  int available = 0;
  bool bad = limit < int64_t(position);
  for (int region = 0; region < 3 && !bad; ++region) {
    const HuffmanTable& table = kPairTables[g.tableSelect[region]];
    int pairs = regionPairs[region];
    if (pairs == 0) continue;
    if (!table.lookup) {
      bad = true;
      break;
    }
    const int linbits = table.linbits;
    while (pairs > 0) {
      if (!nextBand()) {
        bad = true;
        break;
      }
      const int run = std::min(pairs, pairsLeft);
      pairs -= run;
      pairsLeft -= run;
      for (int i = 0; i < run; ++i) {
        if (available < kMaxPairBits) {
          ahead |= (BitWindow(PeekBits64(data, position + uint32_t(available))) << 64) >> available;
          available += 57;
        }
        uint64_t bits = uint64_t(ahead >> 64);
        int used = 0;
        const int leaf = HuffmanDecode(table.lookup, bits, used);
        int values[2] = {leaf >> 4, leaf & 15};
        for (int k = 0; k < 2; ++k) {
          int magnitude = values[k];
          if (magnitude == 15 && linbits) {
            magnitude += int(bits >> (64 - linbits));
            bits <<= linbits;
            used += linbits;
          }
          store(pos + k * stride, magnitude, SignedValue(tables.magnitudePowers, magnitude, gain, bits, used));
        }
        pos += 2 * stride;
        position += uint32_t(used);
        ahead <<= used;
        available -= used;
      }
    }
  }

  // The count1 region: quadruples of magnitude 1 while bits remain.
  const uint16_t* quadLookup = kQuadTables[g.count1Table];
  for (int quads = (kPairsPerGranule - g.bigValues) / 2; quads > 0 && !bad && int64_t(position) < limit; --quads) {
    if (available < kMaxQuadBits) {
      ahead |= (BitWindow(PeekBits64(data, position + uint32_t(available))) << 64) >> available;
      available += 57;
    }
    uint64_t bits = uint64_t(ahead >> 64);
    int used = 0;
    const int v = HuffmanDecode(quadLookup, bits, used);
    if (int64_t(position) + used > limit) {
      position = uint32_t(limit);
      break;
    }
    // The sign bits follow the code; the bits may run out among them, which ends the region.
    const int signs = (v & 1) + (v >> 1 & 1) + (v >> 2 & 1) + (v >> 3 & 1);
    const bool complete = int64_t(position) + used + signs <= limit;
    bool stopped = false;
    for (int half = 0; half < 2 && !stopped; ++half) {
      if (!nextBand()) {
        stopped = true;
        break;
      }
      for (int k = 0; k < 2; ++k) {
        const int magnitude = (v >> (3 - 2 * half - k)) & 1;
        if (!complete && magnitude && int64_t(position) + used >= limit) {
          stopped = true;
          break;
        }
        store(pos + k * stride, magnitude, SignedValue(tables.magnitudePowers, magnitude, gain, bits, used));
      }
      pos += 2 * stride;
      --pairsLeft;
    }
    position += uint32_t(used);
    ahead <<= used;
    available -= used;
    if (stopped) break;
  }

  noteBand();
  for (int w = 0; w < 3; ++w) g.maxband[w] = last[w] + 1;
  g.maxbandl = last[3] + 1;
  if (g.blockType == 2) {
    const int widest = std::max({g.maxband[0], g.maxband[1], g.maxband[2]});
    g.maxb = tables.shortSubbandLimit[sfreq][widest];
    if (g.mixedBlock) g.maxb = std::max(g.maxb, tables.longSubbandLimit[sfreq][g.maxbandl]);
  } else {
    g.maxb = tables.longSubbandLimit[sfreq][g.maxbandl];
  }
  g.maxb = std::min(g.maxb, subbandLimit);

  // Past the granule's bits, or past the frame's main data: the granule is lost.
  if (bad || int64_t(position) > limit || limit > int64_t(reader.end)) {
    reader.position = position;
    return 1;
  }
  reader.position = uint32_t(limit);
  return 0;
}

void ApplyIntensity(float (*x)[kGranuleLines], int p, int count, int stride, const float* ratio) {
  for (int i = 0; i < count; ++i, p += stride) {
    const float v = x[0][p];
    x[0][p] = v * ratio[0];
    x[1][p] = v * ratio[1];
  }
}

// The write position in the PCM buffer, in samples.
int16_t* PcmWritePointer(PcmBuffer& pcm) { return pcm.samples + pcm.position / 2; }

void AdvancePcm(Mp3Decoder& d) {
  d.pcm.position += kPcmSlotBytes;
  if (d.pcm.position >= kPcmBlockBytes) FlushOutput(d.pcm, d.sink);
}

int32_t SynthesizeGranule(Mp3Decoder& d, int channels) {
  int32_t clipped = 0;
  for (int slot = 0; slot < kGranuleSlots; ++slot) {
    int16_t* out = PcmWritePointer(d.pcm);
    clipped += PolyphaseSynth(d.synth, &d.slots[0][slot * kSubbands], 0, out);
    if (channels == 2) {
      clipped += PolyphaseSynth(d.synth, &d.slots[1][slot * kSubbands], 1, out);
    } else {
      for (int i = 0; i < kSubbands; ++i) out[2 * i + 1] = out[2 * i];
    }
    AdvancePcm(d);
  }
  return clipped;
}

void EmitSilence(Mp3Decoder& d) {
  for (int slot = 0; slot < kGranuleSlots; ++slot) {
    std::memset(PcmWritePointer(d.pcm), 0, kPcmSlotBytes);
    AdvancePcm(d);
  }
}

// Reads from the bit reader; returns the bits read.
int ReadScaleFactorsMpeg1(BitReader& reader, int32_t* scalefac, const GranuleInfo& g) {
  const int s1 = kScalefacLengths[0][g.scalefacCompress];
  const int s2 = kScalefacLengths[1][g.scalefacCompress];
  auto read = [&](int from, int count, int bits) {
    for (int i = from; i < from + count; ++i) scalefac[i] = int32_t(GetBits(reader, bits));
  };
  if (g.blockType == 2) {
    const int first = g.mixedBlock ? 8 + 9 : 18;
    read(0, first, s1);
    read(first, 18, s2);
    for (int i = first + 18; i < first + 21; ++i) scalefac[i] = 0;
    return first * s1 + 18 * s2;
  }
  if (g.scfsi < 0) {
    read(0, 11, s1);
    read(11, 10, s2);
    scalefac[21] = 0;
    return 11 * s1 + 10 * s2;
  }
  struct Group {
    int from, count, scfsiBit;
  };
  constexpr Group kGroups[4] = {{0, 6, 8}, {6, 5, 4}, {11, 5, 2}, {16, 5, 1}};
  int bits = 0;
  for (int i = 0; i < 4; ++i) {
    if (g.scfsi & kGroups[i].scfsiBit) continue;
    const int length = i < 2 ? s1 : s2;
    read(kGroups[i].from, kGroups[i].count, length);
    bits += kGroups[i].count * length;
  }
  scalefac[21] = 0;
  return bits;
}

// Sets the granule's preflag; returns the bits read. The intensity-coded channel has length codes of its own.
int ReadScaleFactorsLsf(BitReader& reader, int32_t* scalefac, GranuleInfo& g, bool intensityChannel) {
  const uint16_t* codes = Layer3TablesOnce().lsfLengthCodes;
  const uint16_t code = intensityChannel ? codes[512 + (g.scalefacCompress >> 1)] : codes[g.scalefacCompress];
  g.preflag = code >> 15;
  const int row = (code >> 12) & 7;
  const int kind = g.blockType == 2 ? (g.mixedBlock ? 2 : 1) : 0;
  int n = 0;
  int bits = 0;
  for (int part = 0; part < 4; ++part) {
    const int length = (code >> (3 * part)) & 7;
    const int count = kLsfPartitionSizes[kind][row][part];
    for (int i = 0; i < count; ++i, ++n) scalefac[n] = int32_t(GetBits(reader, length));
    bits += count * length;
  }
  for (int i = 0; i < 2 * kind + 1; ++i, ++n) scalefac[n] = 0;
  return bits;
}

void AntiAlias(float* spectrum, const GranuleInfo& g) {
  int boundaries;
  if (g.blockType != 2) {
    boundaries = g.maxb - 1;
  } else if (g.mixedBlock) {
    boundaries = 1;
  } else {
    return;
  }
  const Layer3Tables& tables = Layer3TablesOnce();
  // Four lines on either side at a time, those below the boundary taken in reverse.
  using Float4 = float __attribute__((vector_size(16)));
  for (int sb = 1; sb <= boundaries; ++sb) {
    float* boundary = spectrum + 18 * sb;
    for (int i = 0; i < 8; i += 4) {
      Float4 below;
      Float4 above;
      Float4 cs;
      Float4 ca;
      std::memcpy(&below, boundary - 4 - i, sizeof below);
      std::memcpy(&above, boundary + i, sizeof above);
      std::memcpy(&cs, tables.aliasCs + i, sizeof cs);
      std::memcpy(&ca, tables.aliasCa + i, sizeof ca);
      below = __builtin_shufflevector(below, below, 3, 2, 1, 0);
      const Float4 newBelow = below * cs - above * ca;
      above = above * cs + below * ca;
      below = __builtin_shufflevector(newBelow, newBelow, 3, 2, 1, 0);
      std::memcpy(boundary - 4 - i, &below, sizeof below);
      std::memcpy(boundary + i, &above, sizeof above);
    }
  }
}

// Huffman data and requantisation of one channel; 1 when the granule overran its bits or its frame.
int Dequantize(Mp3Decoder& d, int ch, GranuleInfo& g, int part2Bits, bool midSide) {
  BitReader& reader = d.stream.bits;
  const int sfreq = d.header.samplingIndex;
  const int limit = d.header.subbandLimit;
  if (ch == 1 && midSide) {
    return DequantizeInto<true>(reader, d.spectra[1], d.spectra[0], d.scalefac[1], g, sfreq, part2Bits, limit);
  }
  return DequantizeInto<false>(reader, d.spectra[ch], nullptr, d.scalefac[ch], g, sfreq, part2Bits, limit);
}

DecodeStatus DecodeGranule(Mp3Decoder& d, int gr, bool midSide, bool intensity) {
  const FrameHeader& header = d.header;
  const int sfreq = header.samplingIndex;
  for (int ch = 0; ch < header.channels; ++ch) {
    GranuleInfo& g = d.side.granules[gr][ch];
    BitReader& reader = d.stream.bits;
    const int part2 = header.lsf ? ReadScaleFactorsLsf(reader, d.scalefac[ch], g, intensity && ch == 1)
                                 : ReadScaleFactorsMpeg1(reader, d.scalefac[ch], g);
    if (Dequantize(d, ch, g, part2, midSide)) return DecodeStatus::BadGranule;
  }
  if (header.channels == 2) {
    GranuleInfo& g0 = d.side.granules[gr][0];
    GranuleInfo& g1 = d.side.granules[gr][1];
    if (intensity) IntensityStereo(d, g1, sfreq, midSide, header.lsf);
    if (midSide || intensity) g0.maxb = g1.maxb = std::max(g0.maxb, g1.maxb);
  }
  for (int ch = 0; ch < header.channels; ++ch) {
    const GranuleInfo& g = d.side.granules[gr][ch];
    AntiAlias(d.spectra[ch], g);
    HybridSynthesis(d.synth, d.spectra[ch], d.slots[ch], ch, g);
  }
  return DecodeStatus::Ok;
}

Layer3Tables::Layer3Tables() {
  for (int k = 0; k < kGainPowerCount; ++k) gainPowers[k] = float(std::pow(2.0, -0.25 * (k - 46)));
  for (int i = 0; i <= kMaxMagnitude; ++i) magnitudePowers[i] = float(std::pow(double(i), 4.0 / 3.0));
  for (int i = 0; i < 8; ++i) {
    const double c = kAliasCoefficients[i];
    aliasCs[i] = float(1.0 / std::sqrt(1.0 + c * c));
    aliasCa[i] = float(c / std::sqrt(1.0 + c * c));
  }
  const double pi = std::acos(-1.0);
  for (int ms = 0; ms < 2; ++ms) {
    const double factor = ms ? std::sqrt(2.0) : 1.0;
    for (int p = 0; p < 16; ++p) {
      const double t = std::tan(p * pi / 12.0);
      intensityMpeg1[ms][p][0] = float(factor * t / (1.0 + t));
      intensityMpeg1[ms][p][1] = float(factor / (1.0 + t));
    }
    for (int scale = 0; scale < 2; ++scale) {
      const double base = std::pow(2.0, -0.25 * (scale + 1));
      for (int p = 0; p < kIntensityPositions; ++p) {
        double first = 1.0;
        double second = 1.0;
        if (p & 1) {
          first = std::pow(base, (p + 1) / 2);
        } else if (p > 0) {
          second = std::pow(base, p / 2);
        }
        intensityLsf[scale][ms][p][0] = float(factor * first);
        intensityLsf[scale][ms][p][1] = float(factor * second);
      }
    }
  }
  BuildLsfLengthCodes(lsfLengthCodes);
  for (int sfreq = 0; sfreq < kSamplingFrequencyCount; ++sfreq) {
    BuildBandMap(bandMaps[sfreq], sfreq);
    for (int i = 0; i < 23; ++i) longSubbandLimit[sfreq][i] = (kLongBandBounds[sfreq][i] - 1 + 8) / 18 + 1;
    for (int i = 0; i < 14; ++i) shortSubbandLimit[sfreq][i] = (kShortBandBounds[sfreq][i] * 3 - 1) / 18 + 1;
  }
}

const Layer3Tables& Layer3TablesOnce() {
  static const Layer3Tables tables;
  return tables;
}

}  // namespace

void IntensityStereo(Mp3Decoder& d, const GranuleInfo& g, int sfreq, bool midSide, int lsf) {
  const Layer3Tables& tables = Layer3TablesOnce();
  const int32_t* scalefac = d.scalefac[1];
  const int intensityScale = g.scalefacCompress & 1;
  // Position 7 means the band is not intensity-coded, whatever the scale factor's length; MPEG-1 positions
  // past 7 would divide by tan(3 pi / 4) + 1 = 0 and are taken as illegal too.
  auto ratio = [&](int index) -> const float* {
    const int p = scalefac[index];
    if (lsf) return p == 7 ? nullptr : tables.intensityLsf[intensityScale][midSide][p];
    return p >= 7 ? nullptr : tables.intensityMpeg1[midSide][p];
  };
  const int16_t* longBounds = kLongBandBounds[sfreq];
  auto longBand = [&](int band, int index) {
    if (const float* r = ratio(index)) {
      ApplyIntensity(d.spectra, longBounds[band], longBounds[band + 1] - longBounds[band], 1, r);
    }
  };
  if (g.blockType == 2) {
    const int16_t* bounds = kShortBandBounds[sfreq];
    const bool mixed = g.mixedBlock != 0;
    // A mixed block's long part counts as eight bands here at every rate, which puts its short positions one
    // place lower; band 12 takes the position of band 11.
    for (int w = 0; w < 3; ++w) {
      for (int band = g.maxband[w]; band < kShortBands; ++band) {
        const int index = 3 * std::min(band, kShortBands - 2) + w - mixed;
        if (const float* r = ratio(index)) {
          ApplyIntensity(d.spectra, 3 * bounds[band] + w, bounds[band + 1] - bounds[band], 3, r);
        }
      }
    }
    if (mixed && std::max({g.maxband[0], g.maxband[1], g.maxband[2]}) <= 3) {
      for (int band = g.maxbandl; band < 8; ++band) longBand(band, band);
    }
    return;
  }
  for (int band = g.maxbandl; band < kLongBands; ++band) longBand(band, std::min(band, kLongBands - 2));
}

FrameResult DecodeLayer3(Mp3Decoder& d) {
  const FrameHeader& header = d.header;
  const bool midSide = header.mode == 1 && (header.modeExtension & 2);
  const bool intensity = header.mode == 1 && (header.modeExtension & 1);
  DecodeStatus status = header.lsf ? ReadSideInfoLsf(d.stream, d.side, header, midSide)
                                   : ReadSideInfoMpeg1(d.stream, d.side, header, midSide);
  if (status == DecodeStatus::BadBlockType) return FrameResult{status, 0};
  if (status == DecodeStatus::Ok && !SetMainDataPointer(d.stream, d.side.mainDataBegin)) {
    status = DecodeStatus::BadGranule;
  }
  // Mono frames played on both channels: a stereo frame after them starts the right channel's filters there.
  if (header.channels == 2 && d.previousChannels == 1) CopySynthState(d.synth, 0, 1);
  d.previousChannels = header.channels;

  FrameResult result{status, 0};
  for (int gr = 0; gr < (header.lsf ? 1 : 2); ++gr) {
    if (result.status == DecodeStatus::Ok) result.status = DecodeGranule(d, gr, midSide, intensity);
    if (result.status == DecodeStatus::Ok) {
      result.clipped += SynthesizeGranule(d, header.channels);
    } else {
      EmitSilence(d);
    }
  }
  return result;
}
