// Adaptive Huffman code for the 269 literal and match-length symbols.
//
// The tree lives in one table of 537 positions kept in non-decreasing order
// of frequency; the root is the last position. An internal node records the
// position of its first child, and its second child (the "1" branch) sits
// right after it, so a node's branch bit is the parity of its position. A
// leaf records symbol + 537 instead. Coding a symbol bumps the frequencies on
// its path and swaps nodes to keep the order; when the root reaches 0x8000
// all leaf frequencies are halved and the tree is rebuilt.
#pragma once

#include <array>
#include <cstdint>

#include "package/bit_reader.h"
#include "package/lzhuf_format.h"

namespace ixo {

class HuffmanModel {
 public:
  static constexpr int kNodeCount = 2 * lzhuf::kSymbolCount - 1;  // 537
  static constexpr int kRoot = kNodeCount - 1;                    // 536
  static constexpr uint16_t kRebuildFrequency = 0x8000;

  struct Code {
    uint32_t bits;  // right-aligned, first bit highest
    int length;
  };

  HuffmanModel();

  // The current code of a symbol; the caller then calls Update(symbol).
  Code CodeOf(int symbol) const {
    uint32_t bits = 0;
    int length = 0;
    for (unsigned k = parent_[symbol + kNodeCount]; k != kRoot; k = parent_[k]) {
      bits |= (k & 1u) << length;
      ++length;
    }
    return Code{bits, length};
  }

  // Walks the tree from the root by the reader's bits; the caller then calls Update().
  int DecodeSymbol(BitReader& reader) const {
    unsigned k = child_[kRoot];
    while (k < kNodeCount) k = child_[k + reader.TakeBit()];
    return static_cast<int>(k - kNodeCount);
  }

  // Counts one more occurrence of the symbol (rebuilding first when the root is full).
  void Update(int symbol);

  uint16_t root_frequency() const { return frequency_[kRoot]; }

 private:
  void Rebuild();

  // One more than the node count: the last entry is a 0xFFFF stop for upward scans.
  std::array<uint16_t, kNodeCount + 1> frequency_;
  std::array<uint16_t, kNodeCount> child_;
  // parent_[position] for table positions; parent_[symbol + 537] is a leaf's position.
  std::array<uint16_t, kNodeCount + lzhuf::kSymbolCount> parent_;
};

}  // namespace ixo
