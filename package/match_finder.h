// Dictionary ring and search trees that find the longest earlier match.
//
// Every ring position in the dictionary sits in one binary search tree per
// first byte, ordered by the 15 bytes starting there. Inserting a position
// walks its tree, remembers the longest match met on the way (the nearest one
// among equally long matches met) and, on a full 15-byte match, puts the new
// position in place of the old one, which leaves the tree. The ring carries
// 14 extra bytes that mirror its start so a 15-byte key never wraps.
#pragma once

#include <array>
#include <cstdint>

#include "package/lzhuf_format.h"

namespace ixo {

class MatchFinder {
 public:
  static constexpr uint16_t kNone = lzhuf::kRingSize;  // empty child / in no tree

  // Ring positions 0..4080 hold the fill byte; everything else starts as zero.
  MatchFinder();

  // Stores a byte at a ring position, keeping the mirror in step.
  void Store(int position, uint8_t byte) {
    ring_[position] = byte;
    if (position < lzhuf::kMirrorSize) ring_[position + lzhuf::kRingSize] = byte;
  }
  uint8_t At(int position) const { return ring_[position]; }

  // Adds the string starting at `position` and sets the current match.
  void Insert(int position);
  // Takes a position out of its tree; nothing happens if it is in none.
  void Remove(int position);

  int match_length() const { return match_length_; }
  int match_position() const { return match_position_; }  // distance back minus one

 private:
  static constexpr int kRootBase = lzhuf::kRingSize + 1;  // tree of byte b: kRootBase + b
  static constexpr int kLinkCount = kRootBase + 256;

  void ReplaceNode(int old_node, int new_node);

  std::array<uint8_t, lzhuf::kRingSize + lzhuf::kMirrorSize> ring_{};
  static constexpr int kLeft = 0;
  static constexpr int kRight = 1;

  // Indexed by ring position, kNone (written to as a harmless scratch slot) or
  // a tree root; a root only ever uses its right link. Both child links of a
  // node sit together so the walk picks one by index instead of by branch.
  std::array<std::array<uint16_t, 2>, kLinkCount> links_{};
  std::array<uint16_t, kLinkCount> parent_{};
  int match_length_ = 0;
  int match_position_ = 0;
};

}  // namespace ixo
