// Letter case the way scripts see it: only the ASCII letters A-Z and a-z have a
// case; every other byte, of any code page, is left as it is.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace ixo {

inline unsigned char UpperAsciiByte(unsigned char byte) { return byte >= 'a' && byte <= 'z' ? byte - 32 : byte; }
inline unsigned char LowerAsciiByte(unsigned char byte) { return byte >= 'A' && byte <= 'Z' ? byte + 32 : byte; }

inline std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(UpperAsciiByte(static_cast<unsigned char>(c)));
  return upper;
}

inline std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(LowerAsciiByte(static_cast<unsigned char>(c)));
  return lower;
}

// Byte-wise order of the upper-cased texts as unsigned bytes; a prefix comes first.
inline int CompareIgnoringCase(std::string_view a, std::string_view b) {
  size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    unsigned char x = UpperAsciiByte(static_cast<unsigned char>(a[i]));
    unsigned char y = UpperAsciiByte(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace ixo
