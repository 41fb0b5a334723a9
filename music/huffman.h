// The Layer III Huffman tables as look-up tables on several bits at once, built at compile time from the code lists.
//
// A table is read kHuffmanRootBits bits at a time at first, then kHuffmanSubBits at a time. An entry with
// kHuffmanPointer set holds, in its other bits, the index of the sub-table for the next bits; any other entry
// holds the value in its low 8 bits (x * 16 + y for the pair tables, the pattern v w x y for the quadruple
// tables) and above them the bits of the code read within that step.
#pragma once

#include <cstdint>

constexpr int kHuffmanRootBits = 8;
constexpr int kHuffmanSubBits = 4;
constexpr uint16_t kHuffmanPointer = 0x8000;

struct HuffmanTable {
  const uint16_t* lookup;  // null for the numbers the standard leaves unused (4 and 14)
  int32_t linbits;
};

constexpr int kPairTableCount = 32;
// Indexed by table_select.
extern const HuffmanTable kPairTables[kPairTableCount];
// Indexed by count1table_select: table A, table B.
extern const uint16_t* const kQuadTables[2];
