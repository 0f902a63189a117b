#include "graphics/picture_file_reader.h"

#include <fstream>

namespace ixo::graphics {

namespace {

constexpr std::streamoff kMaxPictureFile = std::streamoff{1} << 28;

}  // namespace

std::optional<std::vector<uint8_t>> ReadPictureFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return std::nullopt;
  const std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxPictureFile) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
  return bytes;
}

}  // namespace ixo::graphics
