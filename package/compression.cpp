#include "package/compression.h"

#include <sys/types.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "package/byte_stream.h"
#include "package/lzhuf_compressor.h"
#include "package/lzhuf_expander.h"
#include "package/lzhuf_format.h"

namespace ixo {

namespace {

constexpr size_t kOutputChunk = 64 * 1024;
constexpr uint64_t kMaxLength = UINT32_MAX;

// Closes the file when the scope ends; files are always local to one call.
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

FileHandle Open(const std::string& path, const char* mode) {
  return FileHandle(std::fopen(path.c_str(), mode));
}

// Size of an open file, or nullopt when it cannot be measured.
std::optional<uint64_t> FileSize(std::FILE* file) {
  if (fseeko(file, 0, SEEK_END) != 0) return std::nullopt;
  off_t size = ftello(file);
  if (size < 0 || fseeko(file, 0, SEEK_SET) != 0) return std::nullopt;
  return static_cast<uint64_t>(size);
}

// Closes the destination and reports whether everything reached the file.
bool CloseDestination(FileHandle destination) {
  return std::fclose(destination.release()) == 0;
}

}  // namespace

std::string CompressBytes(std::string_view data) {
  if (data.size() > kMaxLength) throw std::length_error("CompressBytes: data of 4 GiB or more");
  std::string stream;
  stream.reserve(lzhuf::kHeaderSize + data.size() / 2);
  MemorySource source(data);
  StringSink sink(stream);
  CompressStream(source, static_cast<uint32_t>(data.size()), sink);
  return stream;
}

std::optional<std::string> ExpandBytes(std::string_view stream) {
  MemorySource source(stream);
  LzhufExpander expander(source);
  std::string data;
  for (;;) {
    size_t used = data.size();
    // Grow by what is likely still to come, never more than a chunk ahead of the output.
    size_t chunk = used == 0 ? kOutputChunk : std::min(used, size_t{16} << 20);
    data.resize(used + chunk);
    size_t produced = expander.Read(data.data() + used, chunk);
    data.resize(used + produced);
    if (produced < chunk) break;
  }
  if (expander.status() != LzhufExpander::Status::kFinished) return std::nullopt;
  return data;
}

bool CompressFile(const std::string& source, const std::string& destination) {
  FileHandle input = Open(source, "rb");
  if (!input) return false;
  std::optional<uint64_t> size = FileSize(input.get());
  if (!size || *size > kMaxLength) return false;
  FileHandle output = Open(destination, "wb");
  if (!output) return false;
  FileSource file_source(input.get());
  FileSink file_sink(output.get());
  bool coded = CompressStream(file_source, static_cast<uint32_t>(*size), file_sink);
  bool closed = CloseDestination(std::move(output));
  return coded && closed && !file_source.failed() && *size > 0;
}

bool ExpandFile(const std::string& source, const std::string& destination) {
  FileHandle input = Open(source, "rb");
  if (!input) return false;
  FileHandle output = Open(destination, "wb");
  if (!output) return false;
  FileSource file_source(input.get());
  FileSink file_sink(output.get());
  LzhufExpander expander(file_source);
  std::vector<char> buffer(kOutputChunk);
  bool written = true;
  for (;;) {
    size_t produced = expander.Read(buffer.data(), buffer.size());
    if (produced > 0 && !file_sink.Write(std::string_view(buffer.data(), produced))) {
      written = false;
      break;
    }
    if (produced < buffer.size()) break;
  }
  bool closed = CloseDestination(std::move(output));
  return written && closed && !file_source.failed() &&
         expander.status() == LzhufExpander::Status::kFinished && expander.declared_length() > 0;
}

}  // namespace ixo
