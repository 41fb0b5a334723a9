// The Layer III Huffman look-up tables, built and checked at compile time from the code lists of the standard.
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

// Lays out the step of width bits from tree entry node at out[index] on, and the sub-tables that it points to
// from out[next] on; returns the entry after the last sub-table. Each index walks the tree on its bits, most
// significant first, until a leaf or the end of its bits. With out null it only counts the entries.
constexpr int Layout(const int16_t* tree, int node, int width, uint16_t* out, int index, int next) {
  for (int bits = 0; bits < 1 << width; ++bits) {
    int t = node;
    int depth = 0;
    for (; tree[t] < 0 && depth < width; ++depth) t = (bits >> (width - 1 - depth) & 1) ? t + 1 - tree[t] : t + 1;
    if (tree[t] >= 0) {
      if (out) out[index + bits] = uint16_t(tree[t] | depth << 8);
      continue;
    }
    if (next >= kHuffmanPointer) throw "the look-up table is too large";
    if (out) out[index + bits] = uint16_t(kHuffmanPointer | next);
    next = Layout(tree, t, kHuffmanSubBits, out, next, next + (1 << kHuffmanSubBits));
  }
  return next;
}

constexpr int LookupSize(const int16_t* tree) {
  return Layout(tree, 0, kHuffmanRootBits, nullptr, 0, 1 << kHuffmanRootBits);
}

template <size_t kSize>
struct Lookup {
  uint16_t entries[kSize] = {};
};

template <const auto& kTree>
constexpr auto MakeLookup() {
  Lookup<LookupSize(kTree.entries)> lookup;
  Layout(kTree.entries, 0, kHuffmanRootBits, lookup.entries, 0, 1 << kHuffmanRootBits);
  return lookup;
}

template <const auto& kTree>
constexpr auto kLookup = MakeLookup<kTree>();

// Table 0 is a single leaf: its pairs are zero and take no bits.
constexpr Tree<1> kTree0;
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

constexpr const uint16_t* kTable16 = kLookup<kTree16>.entries;
constexpr const uint16_t* kTable24 = kLookup<kTree24>.entries;

}  // namespace

const HuffmanTable kPairTables[kPairTableCount] = {
    {kLookup<kTree0>.entries, 0},
    {kLookup<kTree1>.entries, 0},
    {kLookup<kTree2>.entries, 0},
    {kLookup<kTree3>.entries, 0},
    {nullptr, 0},
    {kLookup<kTree5>.entries, 0},
    {kLookup<kTree6>.entries, 0},
    {kLookup<kTree7>.entries, 0},
    {kLookup<kTree8>.entries, 0},
    {kLookup<kTree9>.entries, 0},
    {kLookup<kTree10>.entries, 0},
    {kLookup<kTree11>.entries, 0},
    {kLookup<kTree12>.entries, 0},
    {kLookup<kTree13>.entries, 0},
    {nullptr, 0},
    {kLookup<kTree15>.entries, 0},
    {kTable16, 1},
    {kTable16, 2},
    {kTable16, 3},
    {kTable16, 4},
    {kTable16, 6},
    {kTable16, 8},
    {kTable16, 10},
    {kTable16, 13},
    {kTable24, 4},
    {kTable24, 5},
    {kTable24, 6},
    {kTable24, 7},
    {kTable24, 8},
    {kTable24, 9},
    {kTable24, 11},
    {kTable24, 13},
};

const uint16_t* const kQuadTables[2] = {kLookup<kTreeA>.entries, kLookup<kTreeB>.entries};
