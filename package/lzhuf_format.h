// Fixed parameters and header layout of the compressed stream.
//
// A stream is the magic byte 0x1F, the uncompressed length as a big-endian
// 32-bit number, and then the code bit stream, packed most significant bit
// first with the last byte filled up with zero bits. There is no end marker:
// the expander stops once it has produced the declared length.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ixo::lzhuf {

inline constexpr uint8_t kMagic = 0x1F;
inline constexpr size_t kHeaderSize = 5;

inline constexpr int kRingSize = 4096;
inline constexpr int kRingMask = kRingSize - 1;
inline constexpr int kLookAhead = 15;     // longest match, and bytes compared
inline constexpr int kThreshold = 2;      // matches this short are sent as literals
inline constexpr int kMirrorSize = kLookAhead - 1;  // ring bytes copied past the end
inline constexpr uint8_t kFillByte = 0x20;
inline constexpr int kStartPosition = kRingSize - kLookAhead;  // 4081

// Symbols 0..255 are literal bytes, 256..268 are match lengths 3..15.
inline constexpr int kSymbolCount = 256 - kThreshold + kLookAhead;  // 269
inline constexpr int kMatchSymbolBase = 256 - kThreshold - 1;        // symbol = length + 253

}  // namespace ixo::lzhuf
