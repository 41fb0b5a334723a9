// Layer III frames encoded from their content: scale factors, Huffman coding, the bit reservoir.
#include "tools/content/layer3_writer.h"

#include <algorithm>
#include <cstdlib>
#include <span>

#include "music/bitstream.h"
#include "music/huffman.h"
#include "music/layer3.h"

namespace {

#include "music/huffman_data.inc"

struct CodeList {
  std::span<const uint16_t> codes;
  std::span<const uint8_t> lengths;
  int size;  // x and y range; 0 where table_select names no table
};

CodeList PairCodes(int table) {
  if (table >= 24) return {kCodes24, kLengths24, 16};
  if (table >= 16) return {kCodes16, kLengths16, 16};
  static const CodeList kLists[16] = {
      {{}, {}, 0},
      {kCodes1, kLengths1, 2},
      {kCodes2, kLengths2, 3},
      {kCodes3, kLengths3, 3},
      {{}, {}, 0},
      {kCodes5, kLengths5, 4},
      {kCodes6, kLengths6, 4},
      {kCodes7, kLengths7, 6},
      {kCodes8, kLengths8, 6},
      {kCodes9, kLengths9, 6},
      {kCodes10, kLengths10, 8},
      {kCodes11, kLengths11, 8},
      {kCodes12, kLengths12, 8},
      {kCodes13, kLengths13, 16},
      {{}, {}, 0},
      {kCodes15, kLengths15, 16},
  };
  return kLists[table];
}

// The largest magnitude a table codes (0 for table 0, which codes only zero pairs).
int LargestMagnitude(int table) {
  const int linbits = kPairTables[table].linbits;
  return linbits ? 15 + (1 << linbits) - 1 : std::max(0, PairCodes(table).size - 1);
}

int BitsFor(int value) { return value ? 32 - __builtin_clz(uint32_t(value)) : 0; }

int SamplingIndex(const FrameSpec& frame) {
  return frame.frequency + (frame.version == kMpeg1 ? 0 : frame.version == kMpeg2 ? 3 : 6);
}

struct ScalefacPart {
  int from;
  int count;
  int bits;
};

// Picks the scale-factor lengths and scalefac_compress and lays out the parts that are written; false when
// the values or the chosen lengths cannot be coded.
bool PlanScalefacs(const GranuleContent& c, const FrameSpec& frame, int gr, int ch, GranuleSpec& side,
                   std::vector<ScalefacPart>& parts) {
  const auto need = [&](int from, int count) {
    int bits = 0;
    for (int i = from; i < from + count; ++i) bits = std::max(bits, BitsFor(c.scalefac[i]));
    return bits;
  };
  if (frame.version != kMpeg1) {
    const int kind = side.blockType == 2 ? (side.mixedBlock ? 2 : 1) : 0;
    const bool intensityChannel = ch == 1 && frame.mode == 1 && (frame.modeExtension & 1);
    if (c.lsfRow < 0 || c.lsfRow > 5 || (c.lsfRow >= 3) != intensityChannel) return false;
    // The largest length each row can code, by partition.
    constexpr int kLargest[6][4] = {{4, 4, 3, 3}, {4, 4, 3, 0}, {3, 2, 0, 0}, {4, 5, 5, 0}, {3, 3, 3, 0}, {3, 2, 0, 0}};
    int s[4];
    int from = 0;
    for (int p = 0; p < 4; ++p) {
      const int count = kLsfPartitionSizes[kind][c.lsfRow][p];
      s[p] = c.slen[p] >= 0 ? c.slen[p] : need(from, count);
      if (s[p] > kLargest[c.lsfRow][p] || need(from, count) > s[p]) return false;
      parts.push_back({from, count, s[p]});
      from += count;
    }
    int compress = 0;
    switch (c.lsfRow) {
      case 0:
        compress = (s[0] * 5 + s[1]) << 4 | s[2] << 2 | s[3];
        break;
      case 1:
        compress = 400 + ((s[0] * 5 + s[1]) << 2) + s[2];
        break;
      case 2:
        compress = 500 + s[0] * 3 + s[1];
        break;
      case 3:
        compress = s[0] * 36 + s[1] * 6 + s[2];
        break;
      case 4:
        compress = 180 + (s[0] << 4) + (s[1] << 2) + s[2];
        break;
      default:
        compress = 244 + s[0] * 3 + s[1];
        break;
    }
    side.scalefacCompress = intensityChannel ? compress << 1 | c.intensityScale : compress;
    return true;
  }
  // MPEG-1: a first and a second length over fixed groups; granule 1 of long blocks leaves out the groups
  // its scfsi takes from granule 0.
  std::vector<ScalefacPart> groups;
  if (side.blockType == 2) {
    const int first = side.mixedBlock ? 8 + 9 : 18;
    groups = {{0, first, 0}, {first, 18, 1}};
  } else {
    constexpr ScalefacPart kGroups[4] = {{0, 6, 0}, {6, 5, 0}, {11, 5, 1}, {16, 5, 1}};
    for (int i = 0; i < 4; ++i) {
      if (gr == 0 || !(frame.scfsi[ch] & (8 >> i))) groups.push_back(kGroups[i]);
    }
  }
  int needs[2] = {0, 0};
  int counts[2] = {0, 0};
  for (const ScalefacPart& group : groups) {
    needs[group.bits] = std::max(needs[group.bits], need(group.from, group.count));
    counts[group.bits] += group.count;
  }
  int best = -1;
  for (int compress = 0; compress < 16; ++compress) {
    bool fits = true;
    for (int k = 0; k < 2; ++k) {
      const int length = kScalefacLengths[k][compress];
      fits = fits && length >= needs[k] && (c.slen[k] < 0 || c.slen[k] == length);
    }
    const auto cost = [&](int i) { return counts[0] * kScalefacLengths[0][i] + counts[1] * kScalefacLengths[1][i]; };
    if (fits && (best < 0 || cost(compress) < cost(best))) best = compress;
  }
  if (best < 0) return false;
  side.scalefacCompress = best;
  for (ScalefacPart group : groups) {
    group.bits = kScalefacLengths[group.bits][best];
    parts.push_back(group);
  }
  return true;
}

// The granule's scale factors and Huffman data; false when they cannot be coded as chosen.
bool EncodeGranule(const GranuleContent& c, const FrameSpec& frame, int gr, int ch, GranuleSpec& side, BitWriter& w) {
  side = c.side;
  side.windowSwitching = side.blockType != 0;
  std::vector<ScalefacPart> parts;
  if (!PlanScalefacs(c, frame, gr, ch, side, parts)) return false;
  for (const ScalefacPart& part : parts) {
    for (int i = part.from; i < part.from + part.count; ++i) w.Put(uint32_t(c.scalefac[i]), part.bits);
  }

  // The big values end where only quadruples of magnitude 1 at most are left before the zeros.
  int end = kGranuleLines;
  while (end > 0 && c.values[end - 1] == 0) --end;
  end += end & 1;
  int big = end;
  const auto small = [&](int from) {
    return std::all_of(c.values + from, c.values + from + 4, [](int v) { return std::abs(v) <= 1; });
  };
  while (big >= 4 && small(big - 4)) big -= 4;
  side.bigValues = big / 2;

  const int sfreq = SamplingIndex(frame);
  int regionStarts[4];
  if (side.windowSwitching) {
    regionStarts[1] = side.blockType == 2 ? 3 * kShortBandBounds[sfreq][3] : kLongBandBounds[sfreq][8];
    regionStarts[2] = kGranuleLines;
  } else {
    regionStarts[1] = kLongBandBounds[sfreq][side.region0Count + 1];
    regionStarts[2] = kLongBandBounds[sfreq][std::min(side.region0Count + side.region1Count + 2, 22)];
  }
  regionStarts[0] = 0;
  regionStarts[3] = kGranuleLines;
  for (int r = 0; r < 3; ++r) {
    const int from = std::min(regionStarts[r], big);
    const int to = std::min(regionStarts[r + 1], big);
    int largest = 0;
    for (int i = from; i < to; ++i) largest = std::max(largest, std::abs(c.values[i]));
    int& table = side.tableSelect[r];
    if (side.windowSwitching && r == 2) {
      table = 0;
    } else if (table == 0 && largest > 0) {
      constexpr int kFirstChoices[] = {1, 2, 5, 7, 10, 13, 16, 17, 18, 19, 20, 21, 22, 23};
      table = *std::find_if(std::begin(kFirstChoices), std::end(kFirstChoices),
                            [&](int t) { return LargestMagnitude(t) >= largest; });
    }
    if (largest > LargestMagnitude(table) || (table && !PairCodes(table).size)) return false;
    for (int i = from; i < to; i += 2) {
      if (table) PutPair(w, table, c.values[i], c.values[i + 1]);
    }
  }
  for (int i = big; i < end; i += 4) PutQuad(w, side.count1Table, c.values + i);
  side.part23Length = w.size();
  return side.part23Length < 4096;
}

}  // namespace

void PutPair(BitWriter& w, int table, int x, int y) {
  const CodeList list = PairCodes(table);
  const int linbits = kPairTables[table].linbits;
  const int values[2] = {x, y};
  int index = 0;
  for (int v : values) index = index * list.size + std::min(std::abs(v), 15);
  w.Put(list.codes[size_t(index)], list.lengths[size_t(index)]);
  for (int v : values) {
    if (linbits && std::abs(v) >= 15) w.Put(uint32_t(std::abs(v) - 15), linbits);
    if (v) w.Put(v < 0, 1);
  }
}

void PutQuad(BitWriter& w, int table, const int* v) {
  int pattern = 0;
  for (int k = 0; k < 4; ++k) pattern = pattern << 1 | (v[k] != 0);
  if (table) {
    w.Put(kCodesB[pattern], kLengthsB[pattern]);
  } else {
    w.Put(kCodesA[pattern], kLengthsA[pattern]);
  }
  for (int k = 0; k < 4; ++k) {
    if (v[k]) w.Put(v[k] < 0, 1);
  }
}

std::vector<uint8_t> EncodeStream(const std::vector<FrameContent>& frames) {
  std::vector<FrameSpec> specs;
  std::vector<int> areaStarts;  // where each frame's main data area lies in the stream of all such areas
  int areaStart = 0;
  int dataEnd = 0;  // the end of the last main data placed
  for (const FrameContent& content : frames) {
    FrameSpec frame = content.frame;
    const bool lsf = frame.version != kMpeg1;
    BitWriter data;
    for (int gr = 0; gr < (lsf ? 1 : 2); ++gr) {
      for (int ch = 0; ch < (frame.mode == 3 ? 1 : 2); ++ch) {
        BitWriter granule;
        if (!EncodeGranule(content.granules[gr][ch], frame, gr, ch, frame.granules[gr][ch], granule)) return {};
        data.Append(granule);
      }
    }
    const int capacity = FrameBodySize(frame) - FrameSideInfoSize(frame);
    const int room = areaStart - dataEnd;
    const int largest = lsf ? 255 : 511;
    int begin = frame.mainDataBegin == kFarthestBegin ? std::min(room, largest) : frame.mainDataBegin;
    const int length = int(data.bytes().size());
    if (capacity <= 0 || begin < 0 || begin > room || begin > largest || length > begin + capacity) return {};
    frame.mainDataBegin = begin;
    frame.mainData.assign(size_t(capacity), 0);
    specs.push_back(frame);
    areaStarts.push_back(areaStart);
    for (int i = 0, at = areaStart - begin; i < length; ++i, ++at) {
      size_t j = specs.size() - 1;
      while (areaStarts[j] > at) --j;
      specs[j].mainData[size_t(at - areaStarts[j])] = data.bytes()[size_t(i)];
    }
    dataEnd = areaStart - begin + length;
    areaStart += capacity;
  }
  std::vector<uint8_t> stream;
  for (const FrameSpec& frame : specs) {
    const std::vector<uint8_t> bytes = BuildFrame(frame);
    if (bytes.empty()) return {};
    Append(stream, bytes);
  }
  return stream;
}
