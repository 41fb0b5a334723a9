// The Layer III Huffman trees, built and checked at compile time from the code lists of the standard.
#include "music/huffman.h"

#include <cstddef>

namespace {

#include "music/huffman_data.inc"

template <size_t kSymbols>
struct Tree {
  int16_t entries[2 * kSymbols - 1] = {};
};

// Lays out the subtree of every code that starts with prefix (depth bits) from entry next on; returns
// the entry after it. A code list that is not a complete prefix code stops the compilation here.
template <size_t kSymbols>
constexpr int Grow(Tree<kSymbols>& tree, const uint16_t* codes, const uint8_t* lengths, int size, uint32_t prefix,
                   int depth, int next) {
  bool longer = false;
  for (size_t i = 0; i < kSymbols; ++i) {
    if (lengths[i] < depth || uint32_t(codes[i]) >> (lengths[i] - depth) != prefix) continue;
    if (lengths[i] == depth) {
      if (longer) throw "a code is the prefix of another";
      tree.entries[next] = int16_t(size > 0 ? int(i) / size * 16 + int(i) % size : int(i));
      return next + 1;
    }
    longer = true;
  }
  if (!longer) throw "the code list leaves a prefix unused";
  const int branch = next;
  const int right = Grow(tree, codes, lengths, size, prefix << 1, depth + 1, branch + 1);
  tree.entries[branch] = int16_t(branch + 1 - right);
  return Grow(tree, codes, lengths, size, prefix << 1 | 1, depth + 1, right);
}

// size is the table's x and y range; 0 for the quadruple tables, whose leaves are the symbol itself.
template <size_t kSymbols>
constexpr Tree<kSymbols> MakeTree(const uint16_t (&codes)[kSymbols], const uint8_t (&lengths)[kSymbols], int size) {
  Tree<kSymbols> tree;
  if (Grow(tree, codes, lengths, size, 0, 0, 0) != int(2 * kSymbols - 1)) throw "the tree is not full";
  return tree;
}

constexpr int16_t kTree0[] = {0};
constexpr auto kTree1 = MakeTree(kCodes1, kLengths1, 2);
constexpr auto kTree2 = MakeTree(kCodes2, kLengths2, 3);
constexpr auto kTree3 = MakeTree(kCodes3, kLengths3, 3);
constexpr auto kTree5 = MakeTree(kCodes5, kLengths5, 4);
constexpr auto kTree6 = MakeTree(kCodes6, kLengths6, 4);
constexpr auto kTree7 = MakeTree(kCodes7, kLengths7, 6);
constexpr auto kTree8 = MakeTree(kCodes8, kLengths8, 6);
constexpr auto kTree9 = MakeTree(kCodes9, kLengths9, 6);
constexpr auto kTree10 = MakeTree(kCodes10, kLengths10, 8);
constexpr auto kTree11 = MakeTree(kCodes11, kLengths11, 8);
constexpr auto kTree12 = MakeTree(kCodes12, kLengths12, 8);
constexpr auto kTree13 = MakeTree(kCodes13, kLengths13, 16);
constexpr auto kTree15 = MakeTree(kCodes15, kLengths15, 16);
constexpr auto kTree16 = MakeTree(kCodes16, kLengths16, 16);
constexpr auto kTree24 = MakeTree(kCodes24, kLengths24, 16);
constexpr auto kTreeA = MakeTree(kCodesA, kLengthsA, 0);
constexpr auto kTreeB = MakeTree(kCodesB, kLengthsB, 0);

}  // namespace

const HuffmanTable kPairTables[kPairTableCount] = {
    {kTree0, 0},           {kTree1.entries, 0},   {kTree2.entries, 0},   {kTree3.entries, 0},   {nullptr, 0},
    {kTree5.entries, 0},   {kTree6.entries, 0},   {kTree7.entries, 0},   {kTree8.entries, 0},   {kTree9.entries, 0},
    {kTree10.entries, 0},  {kTree11.entries, 0},  {kTree12.entries, 0},  {kTree13.entries, 0},  {nullptr, 0},
    {kTree15.entries, 0},  {kTree16.entries, 1},  {kTree16.entries, 2},  {kTree16.entries, 3},  {kTree16.entries, 4},
    {kTree16.entries, 6},  {kTree16.entries, 8},  {kTree16.entries, 10}, {kTree16.entries, 13}, {kTree24.entries, 4},
    {kTree24.entries, 5},  {kTree24.entries, 6},  {kTree24.entries, 7},  {kTree24.entries, 8},  {kTree24.entries, 9},
    {kTree24.entries, 11}, {kTree24.entries, 13},
};

const int16_t* const kQuadTables[2] = {kTreeA.entries, kTreeB.entries};
