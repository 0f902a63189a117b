// Static prefix code for the upper six bits of a match position.
//
// Entry 0 gets a 3-bit code, entries 1-3 4 bits, 4-11 5 bits, 12-23 6 bits,
// 24-47 7 bits and 48-63 8 bits, assigned canonically in entry order from all
// zeros. The lower six position bits follow as plain bits.
#pragma once

#include <array>
#include <cstdint>

namespace ixo::position_code {

struct Tables {
  std::array<uint8_t, 64> code{};            // right-aligned code bits of each entry
  std::array<uint8_t, 64> length{};          // code length of each entry
  std::array<uint8_t, 256> entry_of_byte{};  // entry whose code starts the byte
  std::array<uint8_t, 256> length_of_byte{}; // that code's length
};

constexpr int CodeLength(int entry) {
  if (entry < 1) return 3;
  if (entry < 4) return 4;
  if (entry < 12) return 5;
  if (entry < 24) return 6;
  if (entry < 48) return 7;
  return 8;
}

constexpr Tables BuildTables() {
  Tables tables;
  unsigned next_code = 0;
  for (int entry = 0; entry < 64; ++entry) {
    int length = CodeLength(entry);
    tables.code[entry] = static_cast<uint8_t>(next_code);
    tables.length[entry] = static_cast<uint8_t>(length);
    // Every byte that starts with this code decodes to this entry.
    unsigned first_byte = next_code << (8 - length);
    unsigned byte_count = 1u << (8 - length);
    for (unsigned byte = first_byte; byte < first_byte + byte_count; ++byte) {
      tables.entry_of_byte[byte] = static_cast<uint8_t>(entry);
      tables.length_of_byte[byte] = static_cast<uint8_t>(length);
    }
    if (entry < 63) next_code = (next_code + 1) << (CodeLength(entry + 1) - length);
  }
  return tables;
}

inline constexpr Tables kTables = BuildTables();

}  // namespace ixo::position_code
