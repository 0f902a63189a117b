#include "engine/script_charset.h"

#include <array>

namespace ixo::source {

namespace {

// The characters of the bytes 0x80-0x9F; 0 where Windows-1252 leaves the byte undefined.
constexpr std::array<char32_t, 32> kWindowsHighCharacters = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

}  // namespace

std::optional<unsigned char> WindowsByteOf(char32_t character) {
  if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<unsigned char>(character);
  for (size_t index = 0; index < kWindowsHighCharacters.size(); ++index)
    if (kWindowsHighCharacters[index] != 0 && kWindowsHighCharacters[index] == character)
      return static_cast<unsigned char>(0x80 + index);
  return std::nullopt;
}

Utf8Character DecodeUtf8(std::string_view text) {
  const auto byte_at = [&](size_t index) { return static_cast<unsigned char>(text[index]); };
  const unsigned char lead = byte_at(0);
  if (lead < 0x80) return {lead, 1};
  // Length of the sequence, payload bits of its lead byte, and the smallest value
  // it may encode (anything below is an overlong encoding).
  struct Form {
    size_t length;
    unsigned char payload_mask;
    char32_t smallest;
  };
  Form form;
  if (lead >= 0xC2 && lead <= 0xDF) {
    form = {2, 0x1F, 0x80};
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    form = {3, 0x0F, 0x800};
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    form = {4, 0x07, 0x10000};
  } else {
    return {};
  }
  const size_t length = form.length;
  char32_t value = lead & form.payload_mask;
  if (text.size() < length) return {};
  for (size_t index = 1; index < length; ++index) {
    if ((byte_at(index) & 0xC0) != 0x80) return {};
    value = (value << 6) | (byte_at(index) & 0x3F);
  }
  if (value < form.smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {};
  return {value, length};
}

namespace {

void AppendUtf8(char32_t character, std::string& out) {
  if (character < 0x80) {
    out += static_cast<char>(character);
  } else if (character < 0x800) {
    out += static_cast<char>(0xC0 | (character >> 6));
    out += static_cast<char>(0x80 | (character & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (character >> 12));
    out += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (character & 0x3F));
  }
}

}  // namespace

std::string WindowsTextToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    char32_t character = byte;
    if (byte >= 0x80 && byte < 0xA0) {
      character = kWindowsHighCharacters[byte - 0x80];
      if (character == 0) character = 0xFFFD;
    }
    AppendUtf8(character, out);
  }
  return out;
}

std::string Utf8ToWindowsText(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    Utf8Character decoded = DecodeUtf8(text);
    std::optional<unsigned char> byte = decoded.character ? WindowsByteOf(*decoded.character) : std::nullopt;
    out += byte ? static_cast<char>(*byte) : '?';
    text.remove_prefix(decoded.length);
  }
  return out;
}

void AppendLatin1AsUtf8(unsigned char byte, std::string& out) {
  out += static_cast<char>(0xC0 | (byte >> 6));
  out += static_cast<char>(0x80 | (byte & 0x3F));
}

}  // namespace ixo::source
