#include "package/huffman_model.h"

#include <algorithm>

namespace ixo {

// Every symbol starts with frequency 1; internal nodes pair positions 0-1,
// 2-3, ... in order, which keeps the table sorted.
HuffmanModel::HuffmanModel() {
  for (int symbol = 0; symbol < lzhuf::kSymbolCount; ++symbol) {
    frequency_[symbol] = 1;
    child_[symbol] = static_cast<uint16_t>(symbol + kNodeCount);
    parent_[symbol + kNodeCount] = static_cast<uint16_t>(symbol);
  }
  for (int i = 0, j = lzhuf::kSymbolCount; j <= kRoot; i += 2, ++j) {
    frequency_[j] = static_cast<uint16_t>(frequency_[i] + frequency_[i + 1]);
    child_[j] = static_cast<uint16_t>(i);
    parent_[i] = parent_[i + 1] = static_cast<uint16_t>(j);
  }
  frequency_[kNodeCount] = 0xFFFF;
  parent_[kRoot] = 0;
}

void HuffmanModel::Update(int symbol) {
  if (frequency_[kRoot] == kRebuildFrequency) Rebuild();
  unsigned k = parent_[symbol + kNodeCount];
  do {
    unsigned f = ++frequency_[k];
    if (f > frequency_[k + 1]) {
      // Move the node past every node that now has a lower frequency by
      // exchanging it with the last of them; the sentinel stops the scan.
      unsigned l = k + 1;
      while (f > frequency_[l + 1]) ++l;
      frequency_[k] = frequency_[l];
      frequency_[l] = static_cast<uint16_t>(f);

      unsigned moved_up = child_[k];
      parent_[moved_up] = static_cast<uint16_t>(l);
      if (moved_up < kNodeCount) parent_[moved_up + 1] = static_cast<uint16_t>(l);

      unsigned moved_down = child_[l];
      child_[l] = static_cast<uint16_t>(moved_up);
      parent_[moved_down] = static_cast<uint16_t>(k);
      if (moved_down < kNodeCount) parent_[moved_down + 1] = static_cast<uint16_t>(k);
      child_[k] = static_cast<uint16_t>(moved_down);

      k = l;
    }
    k = parent_[k];
  } while (k != 0);  // the root's recorded parent is 0
}

void HuffmanModel::Rebuild() {
  // Leaves to the front, in table order, with halved frequencies (rounded up).
  int leaves = 0;
  for (int i = 0; i < kNodeCount; ++i) {
    if (child_[i] >= kNodeCount) {
      frequency_[leaves] = static_cast<uint16_t>((frequency_[i] + 1u) / 2);
      child_[leaves] = child_[i];
      ++leaves;
    }
  }
  // Pair nodes 0-1, 2-3, ... and insert each parent after every node whose
  // frequency is not above its own, shifting the rest up one place.
  for (int i = 0, j = lzhuf::kSymbolCount; j < kNodeCount; i += 2, ++j) {
    unsigned f = frequency_[i] + frequency_[i + 1];
    int k = j;
    while (f < frequency_[k - 1]) --k;
    std::copy_backward(frequency_.begin() + k, frequency_.begin() + j, frequency_.begin() + j + 1);
    std::copy_backward(child_.begin() + k, child_.begin() + j, child_.begin() + j + 1);
    frequency_[k] = static_cast<uint16_t>(f);
    child_[k] = static_cast<uint16_t>(i);
  }
  for (int i = 0; i < kNodeCount; ++i) {
    unsigned c = child_[i];
    parent_[c] = static_cast<uint16_t>(i);
    if (c < kNodeCount) parent_[c + 1] = static_cast<uint16_t>(i);
  }
}

}  // namespace ixo
