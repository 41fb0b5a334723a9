// Every code of every Huffman table decodes as the reference decoder decodes it.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "tests/music_support.h"

namespace {

#include "music/huffman_data.inc"

struct CodeList {
  int table;    // the table_select that uses it
  int linbits;
  int size;     // x and y range; 0 for the quadruple tables
  const uint16_t* codes;
  const uint8_t* lengths;
  int count;
};

template <size_t N>
CodeList Codes(int table, int linbits, int size, const uint16_t (&codes)[N], const uint8_t (&lengths)[N]) {
  return CodeList{table, linbits, size, codes, lengths, int(N)};
}

// One granule holding a single code: a pair in region 0, or a quadruple in the count1 region.
GranuleSpec CodeGranule(const CodeList& list, int index, BitWriter& data) {
  GranuleSpec g;
  const int start = data.size();
  data.Put(list.codes[index], list.lengths[index]);
  if (list.size > 0) {
    g.bigValues = 1;
    g.tableSelect[0] = list.table;
    const int values[2] = {index / list.size, index % list.size};
    for (int k = 0; k < 2; ++k) {
      if (values[k] == 15 && list.linbits) data.Put(uint32_t(k + 1), list.linbits);
      if (values[k]) data.Put(uint32_t(k), 1);
    }
  } else {
    g.count1Table = list.table;
    for (int bit = 0; bit < 4; ++bit) {
      if (index >> bit & 1) data.Put(uint32_t(bit & 1), 1);
    }
  }
  g.part23Length = data.size() - start;
  return g;
}

TEST(MusicHuffman, EveryCodeDecodesAsTheReferenceDecodesIt) {
  const CodeList lists[] = {
      Codes(1, 0, 2, kCodes1, kLengths1),      Codes(2, 0, 3, kCodes2, kLengths2),
      Codes(3, 0, 3, kCodes3, kLengths3),      Codes(5, 0, 4, kCodes5, kLengths5),
      Codes(6, 0, 4, kCodes6, kLengths6),      Codes(7, 0, 6, kCodes7, kLengths7),
      Codes(8, 0, 6, kCodes8, kLengths8),      Codes(9, 0, 6, kCodes9, kLengths9),
      Codes(10, 0, 8, kCodes10, kLengths10),   Codes(11, 0, 8, kCodes11, kLengths11),
      Codes(12, 0, 8, kCodes12, kLengths12),   Codes(13, 0, 16, kCodes13, kLengths13),
      Codes(15, 0, 16, kCodes15, kLengths15),  Codes(18, 3, 16, kCodes16, kLengths16),
      Codes(27, 7, 16, kCodes24, kLengths24),  Codes(0, 0, 0, kCodesA, kLengthsA),
      Codes(1, 0, 0, kCodesB, kLengthsB),
  };
  // Four codes per frame, one per granule and channel, after a silent frame that settles the filters.
  std::vector<uint8_t> stream = BuildFrame(FrameSpec{});
  FrameSpec frame;
  BitWriter data;
  int slot = 0;
  int codes = 0;
  auto flush = [&]() {
    frame.mainData = data.bytes();
    Append(stream, BuildFrame(frame));
    frame = FrameSpec{};
    data = BitWriter{};
    slot = 0;
  };
  for (const CodeList& list : lists) {
    for (int i = 0; i < list.count; ++i, ++codes) {
      frame.granules[slot / 2][slot % 2] = CodeGranule(list, i, data);
      if (++slot == 4) flush();
    }
  }
  flush();
  EXPECT_EQ(codes, 1410);

  const std::string path = TempPath("codes.mp3");
  WriteFile(path, stream);
  int32_t frames = 0;
  const std::vector<int16_t> ours = Settled(stream, &frames);
  long rate = 0;
  std::vector<int16_t> reference = ReferenceDecode(path, &rate);
  reference.erase(reference.begin(), reference.begin() + long(std::min(reference.size(), size_t(2 * 1152))));
  EXPECT_EQ(frames, 1 + (codes + 3) / 4);
  ASSERT_EQ(ours.size(), reference.size());
  int largest = 0;
  size_t worst = 0;
  for (size_t i = 0; i < ours.size(); ++i) {
    const int d = std::abs(ours[i] - reference[i]);
    if (d > largest) {
      largest = d;
      worst = i;
    }
  }
  // A code read as another pair would show as a difference of hundreds in its frame.
  EXPECT_LE(largest, 1) << "first at frame " << worst / 2 / 1152;
}

}  // namespace
