#include "package/match_finder.h"

#include <bit>
#include <cstring>

namespace ixo {

namespace {

constexpr int kCompared = lzhuf::kLookAhead;  // bytes 1..14 are compared; byte 0 picks the tree

uint64_t Load64(const uint8_t* bytes) {
  uint64_t value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

// Index (1..15) of the first byte where the two 15-byte strings differ, 15
// when bytes 1..14 are all equal. Byte 0 is equal by construction.
int FirstDifference(const uint8_t* key, const uint8_t* other) {
  if constexpr (std::endian::native == std::endian::little) {
    uint64_t diff = Load64(key + 1) ^ Load64(other + 1);
    if (diff != 0) return 1 + std::countr_zero(diff) / 8;
    diff = Load64(key + 7) ^ Load64(other + 7);  // bytes 7..14; 7 and 8 are known equal
    if (diff != 0) return 7 + std::countr_zero(diff) / 8;
    return kCompared;
  } else {
    int i = 1;
    while (i < kCompared && key[i] == other[i]) ++i;
    return i;
  }
}

}  // namespace

MatchFinder::MatchFinder() {
  std::memset(ring_.data(), lzhuf::kFillByte, lzhuf::kStartPosition);
  for (int root = kRootBase; root < kLinkCount; ++root) right_[root] = kNone;
  for (int position = 0; position < lzhuf::kRingSize; ++position) parent_[position] = kNone;
}

void MatchFinder::Insert(int r) {
  const uint8_t* key = &ring_[r];
  int order = 1;  // sign of key minus the node's string; the root has only a right link
  int p = kRootBase + key[0];
  left_[r] = right_[r] = kNone;
  match_length_ = 0;
  for (;;) {
    uint16_t& link = order >= 0 ? right_[p] : left_[p];
    if (link == kNone) {
      link = static_cast<uint16_t>(r);
      parent_[r] = static_cast<uint16_t>(p);
      return;
    }
    p = link;
    int i = FirstDifference(key, &ring_[p]);
    order = i < kCompared ? key[i] - ring_[p + i] : 0;
    if (i > lzhuf::kThreshold) {
      int distance = ((r - p) & lzhuf::kRingMask) - 1;
      if (i > match_length_) {
        match_position_ = distance;
        match_length_ = i;
        if (i >= kCompared) break;
      } else if (i == match_length_ && distance < match_position_) {
        match_position_ = distance;
      }
    }
  }
  // A full match: the new position takes the old one's place in the tree.
  ReplaceNode(p, r);
}

void MatchFinder::ReplaceNode(int old_node, int new_node) {
  int up = parent_[old_node];
  parent_[new_node] = static_cast<uint16_t>(up);
  left_[new_node] = left_[old_node];
  right_[new_node] = right_[old_node];
  parent_[left_[old_node]] = static_cast<uint16_t>(new_node);
  parent_[right_[old_node]] = static_cast<uint16_t>(new_node);
  if (right_[up] == old_node) {
    right_[up] = static_cast<uint16_t>(new_node);
  } else {
    left_[up] = static_cast<uint16_t>(new_node);
  }
  parent_[old_node] = kNone;
}

void MatchFinder::Remove(int p) {
  if (parent_[p] == kNone) return;
  int q;
  if (right_[p] == kNone) {
    q = left_[p];
  } else if (left_[p] == kNone) {
    q = right_[p];
  } else {
    q = left_[p];
    if (right_[q] != kNone) {
      // Splice out the rightmost node of the left subtree; it takes p's left subtree.
      do q = right_[q]; while (right_[q] != kNone);
      right_[parent_[q]] = left_[q];
      parent_[left_[q]] = parent_[q];
      left_[q] = left_[p];
      parent_[left_[p]] = static_cast<uint16_t>(q);
    }
    right_[q] = right_[p];
    parent_[right_[p]] = static_cast<uint16_t>(q);
  }
  int up = parent_[p];
  parent_[q] = static_cast<uint16_t>(up);
  if (right_[up] == p) {
    right_[up] = static_cast<uint16_t>(q);
  } else {
    left_[up] = static_cast<uint16_t>(q);
  }
  parent_[p] = kNone;
}

}  // namespace ixo
