// LZSS with adaptive Huffman coding, expanding side.
//
// Design
// ------
// The expander is a small state machine so that output can be taken in
// pieces of any size:
//
//   kHeader  read the magic byte and the big-endian length. A missing byte or
//            a wrong magic byte -> kMalformed; a length of 0 -> kDone.
//   kSymbol  decode one symbol with the adaptive Huffman tree and update the
//            tree. A literal is written and stored in the ring. A length
//            symbol is followed by a position; the copy starts at
//            r - position - 1 and its length is cut to what remains of the
//            declared length, so no byte past it is ever produced -> kCopy.
//            Once the declared length is reached -> kDone.
//   kCopy    copy ring bytes one at a time (a match may overlap the bytes it
//            is producing), storing each at r; when the copy is done ->
//            kSymbol. If the caller's buffer fills, the copy resumes here.
//
// The ring starts as the compressor's does: spaces at 0..4080 and r = 4081.
// Bits after the end of the input read as zero; if a symbol or position
// needed any of them, the stream was cut short -> kMalformed. Checking after
// every symbol stops a hostile header that declares gigabytes from making
// more than a few bytes per real input bit.
#include "package/lzhuf_expander.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "package/bit_reader.h"
#include "package/huffman_model.h"
#include "package/lzhuf_format.h"
#include "package/position_code.h"

namespace ixo {

using namespace lzhuf;

namespace {
enum class Phase { kHeader, kSymbol, kCopy, kDone };
}

struct LzhufExpander::State {
  explicit State(ByteSource& source) : reader(source) {
    std::memset(ring.data(), kFillByte, kStartPosition);
  }

  BitReader reader;
  HuffmanModel model;
  std::array<uint8_t, kRingSize> ring{};
  Phase phase = Phase::kHeader;
  int r = kStartPosition;
  uint32_t remaining = 0;   // bytes still to produce
  int copy_from = 0;        // kCopy: next ring position to copy
  int copy_left = 0;        // kCopy: bytes of the match still to copy
};

LzhufExpander::LzhufExpander(ByteSource& source) : state_(std::make_unique<State>(source)) {}

LzhufExpander::~LzhufExpander() = default;

size_t LzhufExpander::Read(char* out, size_t capacity) {
  if (status_ != Status::kRunning) return 0;
  State& st = *state_;
  BitReader& reader = st.reader;
  uint8_t* ring = st.ring.data();
  int r = st.r;
  size_t produced = 0;

  for (;;) {
    switch (st.phase) {
      case Phase::kHeader: {
        uint32_t magic = reader.TakeBits(8);
        uint32_t length = reader.TakeBits(32);
        if (reader.overran() || magic != kMagic) {
          status_ = Status::kMalformed;
          return 0;
        }
        declared_length_ = st.remaining = length;
        st.phase = length == 0 ? Phase::kDone : Phase::kSymbol;
        break;
      }

      case Phase::kSymbol: {
        if (st.remaining == 0) {
          st.phase = Phase::kDone;
          break;
        }
        if (produced == capacity) {
          st.r = r;
          return produced;
        }
        int symbol = st.model.DecodeSymbol(reader);
        if (reader.overran()) {
          status_ = Status::kMalformed;
          st.r = r;
          return produced;
        }
        st.model.Update(symbol);
        if (symbol < 256) {
          out[produced++] = static_cast<char>(symbol);
          ring[r] = static_cast<uint8_t>(symbol);
          r = (r + 1) & kRingMask;
          --st.remaining;
          break;
        }
        uint32_t upper_byte = reader.TakeBits(8);
        int code_length = position_code::kTables.length_of_byte[upper_byte];
        uint32_t low_bits = (upper_byte << (code_length - 2)) | reader.TakeBits(code_length - 2);
        int position = (position_code::kTables.entry_of_byte[upper_byte] << 6) | (low_bits & 0x3F);
        if (reader.overran()) {
          status_ = Status::kMalformed;
          st.r = r;
          return produced;
        }
        int length = symbol - kMatchSymbolBase;
        st.copy_left = static_cast<int>(std::min<uint32_t>(length, st.remaining));
        st.remaining -= st.copy_left;
        st.copy_from = (r - position - 1) & kRingMask;
        st.phase = Phase::kCopy;
        break;
      }

      case Phase::kCopy: {
        int count = static_cast<int>(std::min<size_t>(st.copy_left, capacity - produced));
        int from = st.copy_from;
        for (int k = 0; k < count; ++k) {
          uint8_t byte = ring[from];
          out[produced++] = static_cast<char>(byte);
          ring[r] = byte;
          from = (from + 1) & kRingMask;
          r = (r + 1) & kRingMask;
        }
        st.copy_from = from;
        st.copy_left -= count;
        if (st.copy_left > 0) {
          st.r = r;
          return produced;
        }
        st.phase = Phase::kSymbol;
        break;
      }

      case Phase::kDone:
        status_ = Status::kFinished;
        st.r = r;
        return produced;
    }
  }
}

}  // namespace ixo
