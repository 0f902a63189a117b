// Copying a run of bytes between streams through a fixed buffer, so that a
// stored file never has to fit in memory.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

namespace ixo::package {

// Copies exactly size bytes; false when the input ends early or the output fails.
bool CopyBytes(std::istream& in, std::ostream& out, uint64_t size);

}  // namespace ixo::package
