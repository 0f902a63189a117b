// Reading a picture file whole: the decoders work on bytes in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ixo::graphics {

// The bytes of the file at a path of this system; nothing when it cannot be
// read or is larger than any picture worth reading (256 MB).
std::optional<std::vector<uint8_t>> ReadPictureFile(const std::string& path);

}  // namespace ixo::graphics
