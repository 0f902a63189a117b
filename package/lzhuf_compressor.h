// Compresses a byte source of known length into a compressed stream.
#pragma once

#include <cstdint>

#include "package/byte_stream.h"

namespace ixo {

// Writes the header and codes exactly `length` bytes taken from `source`.
// False when the sink reports a write error or the source ends early (what
// was written stays written). A length of 0 gives just the header.
bool CompressStream(ByteSource& source, uint32_t length, ByteSink& sink);

}  // namespace ixo
