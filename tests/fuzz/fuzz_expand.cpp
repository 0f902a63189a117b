// Fuzz target: the compression coder. Arbitrary bytes must expand without
// crashing or producing anything but the declared length, and must survive a
// compress/expand round trip unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "package/compression.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);

  std::optional<std::string> expanded = ixo::ExpandBytes(bytes);
  if (expanded) {
    // A stream that expands has a full header, and exactly its declared length comes out.
    uint32_t declared = 0;
    for (int i = 1; i <= 4; ++i) declared = (declared << 8) | data[i];
    if (size < 5 || data[0] != 0x1F || expanded->size() != declared) std::abort();
  }

  std::optional<std::string> round_trip = ixo::ExpandBytes(ixo::CompressBytes(bytes));
  if (!round_trip || *round_trip != bytes) std::abort();
  return 0;
}
