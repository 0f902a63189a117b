// Little-endian fields of the picture file formats, read and written by offset.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ixo::graphics {

inline uint32_t ReadLe16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8;
}

inline uint32_t ReadLe32(std::span<const uint8_t> bytes, size_t at) {
  return ReadLe16(bytes, at) | ReadLe16(bytes, at + 2) << 16;
}

inline void AppendLe16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void AppendLe32(std::vector<uint8_t>& out, uint32_t value) {
  AppendLe16(out, value & 0xFFFF);
  AppendLe16(out, value >> 16);
}

}  // namespace ixo::graphics
