// The Layer III Huffman tables as trees of 16-bit entries, built at compile time from the code lists.
//
// A table is walked from entry 0: a negative entry v is a branch (read one bit, move to the next entry,
// and if the bit is 1 move a further -v entries); a non-negative entry is a leaf holding x * 16 + y for
// the pair tables or the pattern v w x y for the quadruple tables.
#pragma once

#include <cstdint>

struct HuffmanTable {
  const int16_t* tree;  // null for the numbers the standard leaves unused (4 and 14)
  int32_t linbits;
};

constexpr int kPairTableCount = 32;
// Indexed by table_select.
extern const HuffmanTable kPairTables[kPairTableCount];
// Indexed by count1table_select: table A, table B.
extern const int16_t* const kQuadTables[2];
