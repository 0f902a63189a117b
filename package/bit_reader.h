// Takes bits, most significant first, from a chunked byte source.
//
// Bits past the end of the input read as zero so that a decoder can look
// ahead freely, but they are counted: overran() turns true as soon as one of
// them has been consumed, which is how a cut-short stream is recognised.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "package/byte_stream.h"

namespace ixo {

class BitReader {
 public:
  explicit BitReader(ByteSource& source) : source_(source) {}

  // Up to 32 bits, right-aligned.
  uint32_t TakeBits(int count) {
    if (count_ < count) Refill();
    uint32_t value = static_cast<uint32_t>(bits_ >> (64 - count));
    bits_ <<= count;
    count_ -= count;
    return value;
  }

  unsigned TakeBit() {
    if (count_ == 0) Refill();
    unsigned bit = static_cast<unsigned>(bits_ >> 63);
    bits_ <<= 1;
    --count_;
    return bit;
  }

  // True once a bit beyond the end of the input has been taken.
  bool overran() const { return count_ < missing_bits_; }

 private:
  // Tops the buffer up to at least 57 bits, with zero bytes after the end.
  // The fast path loads eight bytes at once; the bits it places below the
  // valid ones are the true next bits, so OR-ing them in again later is harmless.
  void Refill() {
    if (end_ - next_ >= 8) {
      bits_ |= LoadBigEndian64(next_) >> count_;
      next_ += (63 - count_) >> 3;
      count_ |= 56;
      return;
    }
    while (count_ <= 56) {
      if (next_ == end_ && !FetchChunk()) {
        missing_bits_ += 8;
        count_ += 8;
        continue;
      }
      bits_ |= static_cast<uint64_t>(static_cast<uint8_t>(*next_++)) << (56 - count_);
      count_ += 8;
    }
  }

  static uint64_t LoadBigEndian64(const char* bytes) {
    uint64_t value;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::little) value = __builtin_bswap64(value);
    return value;
  }

  bool FetchChunk() {
    if (ended_) return false;
    std::string_view chunk = source_.NextChunk();
    if (chunk.empty()) {
      ended_ = true;
      return false;
    }
    next_ = chunk.data();
    end_ = chunk.data() + chunk.size();
    return true;
  }

  ByteSource& source_;
  const char* next_ = nullptr;
  const char* end_ = nullptr;
  bool ended_ = false;
  // Valid bits sit left-aligned in bits_; the lowest missing_bits_ of them
  // (once the input has ended) are the zero padding.
  uint64_t bits_ = 0;
  int count_ = 0;
  int missing_bits_ = 0;
};

}  // namespace ixo
