// Characters of the source form and bytes of script lines. Script text is
// Windows-1252; source files are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ixo::source {

// The Windows-1252 byte of a character, or nullopt when Windows-1252 has none
// (this includes the code points U+0080 to U+009F, which Windows-1252 does not
// use, so the bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D have no character at all).
std::optional<unsigned char> WindowsByteOf(char32_t character);

// One decoded UTF-8 character and the number of bytes it took. A malformed or
// overlong sequence, a surrogate or a value above U+10FFFF gives nullopt with a
// length of 1, so that decoding resumes at the next byte.
struct Utf8Character {
  std::optional<char32_t> character;
  size_t length = 1;
};
Utf8Character DecodeUtf8(std::string_view text);

// Script text (Windows-1252) as UTF-8, for the desktop's toolkits; the five
// bytes Windows-1252 leaves undefined become U+FFFD.
std::string WindowsTextToUtf8(std::string_view text);

// UTF-8 from the desktop as script text; characters Windows-1252 lacks and
// malformed bytes become "?".
std::string Utf8ToWindowsText(std::string_view text);

// Appends the UTF-8 form of a Latin-1 byte (160-255 are the characters U+00A0 to U+00FF).
void AppendLatin1AsUtf8(unsigned char byte, std::string& out);

}  // namespace ixo::source
