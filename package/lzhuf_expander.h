// Expands a compressed stream piece by piece.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "package/byte_stream.h"

namespace ixo {


class LzhufExpander {
 public:
  enum class Status {
    kRunning,    // more output may follow
    kFinished,   // the declared length has been produced
    kMalformed,  // short header, wrong magic byte, or the stream ended too early
  };

  explicit LzhufExpander(ByteSource& source);
  ~LzhufExpander();
  LzhufExpander(const LzhufExpander&) = delete;
  LzhufExpander& operator=(const LzhufExpander&) = delete;

  // Writes up to `capacity` further bytes of output to `out` and returns how
  // many. Less than `capacity` means the output is complete or the stream is
  // malformed; status() tells which.
  size_t Read(char* out, size_t capacity);

  Status status() const { return status_; }
  // The length from the header, once the first Read has seen it.
  uint32_t declared_length() const { return declared_length_; }

 private:
  struct State;
  std::unique_ptr<State> state_;
  Status status_ = Status::kRunning;
  uint32_t declared_length_ = 0;
};

}  // namespace ixo
