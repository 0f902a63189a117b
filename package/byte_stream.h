// Chunked byte input and output used by the coder, so that the same coder
// runs over memory, files or a slice of a package file.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace ixo {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The next piece of input; empty once the input has ended. The view stays
  // valid until the next call.
  virtual std::string_view NextChunk() = 0;
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Appends the bytes; false on a write error.
  virtual bool Write(std::string_view bytes) = 0;
};

// The whole of a memory block as a single chunk.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view data) : data_(data) {}
  std::string_view NextChunk() override;

 private:
  std::string_view data_;
  bool delivered_ = false;
};

class StringSink : public ByteSink {
 public:
  explicit StringSink(std::string& out) : out_(out) {}
  bool Write(std::string_view bytes) override;

 private:
  std::string& out_;
};

// Reads an open file in fixed-size chunks; the caller owns the FILE.
// A read error ends the input and is remembered in failed().
class FileSource : public ByteSource {
 public:
  explicit FileSource(std::FILE* file);
  std::string_view NextChunk() override;
  bool failed() const { return failed_; }

 private:
  std::FILE* file_;
  std::vector<char> buffer_;
  bool failed_ = false;
};

// Writes to an open file; the caller owns the FILE.
class FileSink : public ByteSink {
 public:
  explicit FileSink(std::FILE* file) : file_(file) {}
  bool Write(std::string_view bytes) override;

 private:
  std::FILE* file_;
};

}  // namespace ixo
