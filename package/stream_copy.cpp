#include "package/stream_copy.h"

#include <algorithm>
#include <string>

namespace ixo::package {

bool CopyBytes(std::istream& in, std::ostream& out, uint64_t size) {
  constexpr size_t kChunk = 64 * 1024;
  std::string chunk(static_cast<size_t>(std::min<uint64_t>(size, kChunk)), '\0');
  while (size > 0) {
    size_t part = static_cast<size_t>(std::min<uint64_t>(size, kChunk));
    if (!in.read(chunk.data(), static_cast<std::streamsize>(part))) return false;
    out.write(chunk.data(), static_cast<std::streamsize>(part));
    size -= part;
  }
  return static_cast<bool>(out);
}

}  // namespace ixo::package
