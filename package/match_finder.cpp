#include "package/match_finder.h"

#include <bit>
#include <cstring>

namespace ixo {

namespace {

constexpr int kCompared = lzhuf::kLookAhead;  // bytes 1..14 are compared; byte 0 picks the tree

// Eight ring bytes as a big-endian number, so that comparing two such numbers
// orders the strings the way a byte-by-byte comparison would.
uint64_t LoadOrdered64(const uint8_t* bytes) {
  uint64_t value;
  std::memcpy(&value, bytes, sizeof value);
  if constexpr (std::endian::native == std::endian::little) value = __builtin_bswap64(value);
  return value;
}

}  // namespace

MatchFinder::MatchFinder() {
  std::memset(ring_.data(), lzhuf::kFillByte, lzhuf::kStartPosition);
  for (int root = kRootBase; root < kLinkCount; ++root) links_[root][kRight] = kNone;
  for (int position = 0; position < lzhuf::kRingSize; ++position) parent_[position] = kNone;
}

// The key's bytes 1..8 and 7..14 are loaded once as ordered numbers; a node
// whose first eight differ is decided by one comparison. Only a full 15-byte
// match compares equal, so the walk goes right exactly when the key is greater.
void MatchFinder::Insert(int r) {
  const uint8_t* key = &ring_[r];
  const uint64_t key_head = LoadOrdered64(key + 1);
  const uint64_t key_tail = LoadOrdered64(key + 7);
  int go_right = 1;  // a root has only a right link
  int p = kRootBase + key[0];
  links_[r] = {kNone, kNone};
  // Kept in locals during the walk; every step below is free of
  // data-dependent branches except the end of the walk and a full match.
  int best_length = 0;
  int best_position = match_position_;
  for (;;) {
    uint16_t next = links_[p][go_right];
    if (next == kNone) {
      links_[p][go_right] = static_cast<uint16_t>(r);
      parent_[r] = static_cast<uint16_t>(p);
      break;
    }
    p = next;
    const uint8_t* other = &ring_[p];
    uint64_t other_head = LoadOrdered64(other + 1);
    uint64_t other_tail = LoadOrdered64(other + 7);
    bool head_differs = other_head != key_head;
    uint64_t a = head_differs ? key_head : key_tail;
    uint64_t b = head_differs ? other_head : other_tail;
    go_right = a > b;
    int i = a != b ? (head_differs ? 1 : 7) + std::countl_zero(a ^ b) / 8 : kCompared;
    int distance = ((r - p) & lzhuf::kRingMask) - 1;
    // Longer than the best so far, or as long and nearer.
    bool better = i > lzhuf::kThreshold &&
                  (i > best_length || (i == best_length && distance < best_position));
    best_position = better ? distance : best_position;
    best_length = better ? i : best_length;
    if (i == kCompared) {
      // A full match: the new position takes the old one's place in the tree.
      ReplaceNode(p, r);
      break;
    }
  }
  match_length_ = best_length;
  match_position_ = best_position;
}

void MatchFinder::ReplaceNode(int old_node, int new_node) {
  int up = parent_[old_node];
  parent_[new_node] = static_cast<uint16_t>(up);
  links_[new_node][kLeft] = links_[old_node][kLeft];
  links_[new_node][kRight] = links_[old_node][kRight];
  parent_[links_[old_node][kLeft]] = static_cast<uint16_t>(new_node);
  parent_[links_[old_node][kRight]] = static_cast<uint16_t>(new_node);
  if (links_[up][kRight] == old_node) {
    links_[up][kRight] = static_cast<uint16_t>(new_node);
  } else {
    links_[up][kLeft] = static_cast<uint16_t>(new_node);
  }
  parent_[old_node] = kNone;
}

void MatchFinder::Remove(int p) {
  if (parent_[p] == kNone) return;
  int q;
  if (links_[p][kRight] == kNone) {
    q = links_[p][kLeft];
  } else if (links_[p][kLeft] == kNone) {
    q = links_[p][kRight];
  } else {
    q = links_[p][kLeft];
    if (links_[q][kRight] != kNone) {
      // Splice out the rightmost node of the left subtree; it takes p's left subtree.
      do q = links_[q][kRight]; while (links_[q][kRight] != kNone);
      links_[parent_[q]][kRight] = links_[q][kLeft];
      parent_[links_[q][kLeft]] = parent_[q];
      links_[q][kLeft] = links_[p][kLeft];
      parent_[links_[p][kLeft]] = static_cast<uint16_t>(q);
    }
    links_[q][kRight] = links_[p][kRight];
    parent_[links_[p][kRight]] = static_cast<uint16_t>(q);
  }
  int up = parent_[p];
  parent_[q] = static_cast<uint16_t>(up);
  if (links_[up][kRight] == p) {
    links_[up][kRight] = static_cast<uint16_t>(q);
  } else {
    links_[up][kLeft] = static_cast<uint16_t>(q);
  }
  parent_[p] = kNone;
}

}  // namespace ixo
