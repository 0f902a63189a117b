#include "package/byte_stream.h"

namespace ixo {

namespace {
constexpr size_t kFileChunkSize = 64 * 1024;
}

std::string_view MemorySource::NextChunk() {
  if (delivered_) return {};
  delivered_ = true;
  return data_;
}

bool StringSink::Write(std::string_view bytes) {
  out_.append(bytes);
  return true;
}

FileSource::FileSource(std::FILE* file) : file_(file), buffer_(kFileChunkSize) {}

std::string_view FileSource::NextChunk() {
  size_t read = std::fread(buffer_.data(), 1, buffer_.size(), file_);
  if (read == 0 && std::ferror(file_)) failed_ = true;
  return std::string_view(buffer_.data(), read);
}

bool FileSink::Write(std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
}

}  // namespace ixo
