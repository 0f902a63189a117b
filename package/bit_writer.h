// Packs codes into bytes, most significant bit first, and hands full blocks
// to a sink. The last byte is filled up with zero bits by Finish().
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "package/byte_stream.h"

namespace ixo {

class BitWriter {
 public:
  explicit BitWriter(ByteSink& sink) : sink_(sink) {}
  BitWriter(const BitWriter&) = delete;
  BitWriter& operator=(const BitWriter&) = delete;

  // Appends the low `count` bits of `value` (1 to 32), highest bit first.
  void PutBits(uint32_t value, int count) {
    pending_ = (pending_ << count) | value;
    pending_count_ += count;
    while (pending_count_ >= 8) {
      pending_count_ -= 8;
      PutByte(static_cast<uint8_t>(pending_ >> pending_count_));
    }
  }

  // Pads the last byte with zero bits and flushes; false if any write failed.
  bool Finish() {
    if (pending_count_ > 0) PutByte(static_cast<uint8_t>(pending_ << (8 - pending_count_)));
    pending_count_ = 0;
    Flush();
    return ok_;
  }

  bool ok() const { return ok_; }

 private:
  static constexpr size_t kBlockSize = 64 * 1024;

  void PutByte(uint8_t byte) {
    block_[used_++] = static_cast<char>(byte);
    if (used_ == kBlockSize) Flush();
  }

  void Flush() {
    if (used_ > 0 && ok_) ok_ = sink_.Write(std::string_view(block_, used_));
    used_ = 0;
  }

  ByteSink& sink_;
  // Bits not yet forming a whole byte sit right-aligned; fewer than 8 between calls.
  uint64_t pending_ = 0;
  int pending_count_ = 0;
  char block_[kBlockSize];
  size_t used_ = 0;
  bool ok_ = true;
};

}  // namespace ixo
