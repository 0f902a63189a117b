#include "engine/script_file.h"

namespace ixo {

void InvertBytes(std::string& bytes) {
  for (char& byte : bytes) byte = static_cast<char>(255 - static_cast<unsigned char>(byte));
}

std::vector<std::string> SplitScriptLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && (text[at] == ' ' || text[at] == 8 || text[at] == '\r' || text[at] == '\n')) ++at;
    size_t end = at;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    if (end > at) lines.emplace_back(text.substr(at, end - at));
    at = end;
  }
  return lines;
}

std::string EncodeScriptFile(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  InvertBytes(bytes);
  return bytes;
}

std::vector<std::string> DecodeScriptFile(std::string bytes) {
  InvertBytes(bytes);
  return SplitScriptLines(bytes);
}

}  // namespace ixo
