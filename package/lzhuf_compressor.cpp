// LZSS with adaptive Huffman coding, compressing side.
//
// Design
// ------
// Positions move through a 4096-byte ring. r is the coding position: the
// bytes r..r+14 are the look-ahead still to be coded (fewer near the end of
// the input), and `pending` counts them. s is the oldest dictionary position;
// it is always 15 ahead of r, so the byte stored at s when it is reused is the
// newest look-ahead byte.
//
// Before the first step the ring holds spaces at 0..4080 and the first (up to)
// 15 input bytes at 4081..4095; positions 4066..4080 and then 4081 go into
// the search trees, so leading spaces already find matches.
//
// Each step of the loop:
//   1. Take the match found by the last insertion, cut to `pending`.
//   2. Length 2 or less: code the literal at r and advance by one.
//      Otherwise: code the length symbol (length + 253) and the position.
//   3. Slide by the advanced amount. While input remains, each slide removes
//      s from the trees, stores the next input byte at s, advances s and r
//      and inserts r (which finds the match for the next step). Once the
//      input has ended, a slide removes s, advances both, shrinks `pending`
//      and inserts r only while look-ahead remains.
// The loop ends when the look-ahead is empty; the last byte of bits is then
// padded with zeros.
#include "package/lzhuf_compressor.h"

#include <memory>
#include <string_view>

#include "package/bit_writer.h"
#include "package/huffman_model.h"
#include "package/lzhuf_format.h"
#include "package/match_finder.h"
#include "package/position_code.h"

namespace ixo {

namespace {

using namespace lzhuf;

// Hands out at most `limit` bytes of a source one at a time.
class LimitedInput {
 public:
  LimitedInput(ByteSource& source, uint32_t limit) : source_(source), left_(limit) {}

  bool Next(uint8_t& byte) {
    if (next_ == end_) {
      if (left_ == 0 || !FetchChunk()) return false;
    }
    byte = static_cast<uint8_t>(*next_++);
    return true;
  }

  // True when the source ran dry before the limit.
  bool short_read() const { return short_; }

 private:
  bool FetchChunk() {
    std::string_view chunk = source_.NextChunk();
    if (chunk.empty()) {
      short_ = true;
      left_ = 0;
      return false;
    }
    if (chunk.size() > left_) chunk = chunk.substr(0, left_);
    left_ -= static_cast<uint32_t>(chunk.size());
    next_ = chunk.data();
    end_ = chunk.data() + chunk.size();
    return true;
  }

  ByteSource& source_;
  uint32_t left_;  // bytes still to be taken from the source
  const char* next_ = nullptr;
  const char* end_ = nullptr;
  bool short_ = false;
};

class Compressor {
 public:
  Compressor(ByteSource& source, uint32_t length, ByteSink& sink)
      : input_(source, length), writer_(sink) {}

  void Run() {
    int pending = 0;
    uint8_t byte;
    while (pending < kLookAhead && input_.Next(byte)) finder_.Store(kStartPosition + pending++, byte);
    int s = 0;
    int r = kStartPosition;
    for (int i = 1; i <= kLookAhead; ++i) finder_.Insert(r - i);
    finder_.Insert(r);

    while (pending > 0) {
      int length = finder_.match_length();
      if (length > pending) length = pending;
      if (length <= kThreshold) {
        length = 1;
        CodeSymbol(finder_.At(r));
      } else {
        CodeSymbol(length + kMatchSymbolBase);
        CodePosition(finder_.match_position());
      }
      int slid = 0;
      for (; slid < length && input_.Next(byte); ++slid) {
        finder_.Remove(s);
        finder_.Store(s, byte);
        s = (s + 1) & kRingMask;
        r = (r + 1) & kRingMask;
        finder_.Insert(r);
      }
      for (; slid < length; ++slid) {
        finder_.Remove(s);
        s = (s + 1) & kRingMask;
        r = (r + 1) & kRingMask;
        if (--pending > 0) finder_.Insert(r);
      }
    }
  }

  bool Finish() { return writer_.Finish() && !input_.short_read(); }

  BitWriter& writer() { return writer_; }

 private:
  void CodeSymbol(int symbol) {
    HuffmanModel::Code code = model_.CodeOf(symbol);
    writer_.PutBits(code.bits, code.length);
    model_.Update(symbol);
  }

  void CodePosition(int position) {
    int entry = position >> 6;
    int length = position_code::kTables.length[entry];
    writer_.PutBits((uint32_t{position_code::kTables.code[entry]} << 6) | (position & 0x3F), length + 6);
  }

  LimitedInput input_;
  BitWriter writer_;
  HuffmanModel model_;
  MatchFinder finder_;
};

}  // namespace

bool CompressStream(ByteSource& source, uint32_t length, ByteSink& sink) {
  auto compressor = std::make_unique<Compressor>(source, length, sink);
  BitWriter& writer = compressor->writer();
  writer.PutBits(kMagic, 8);
  writer.PutBits(length, 32);
  if (length > 0) compressor->Run();
  return compressor->Finish();
}

}  // namespace ixo
