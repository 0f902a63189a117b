#include "engine/script_source.h"

namespace ixo::source {

std::string SourceError::ToString() const {
  return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
}

std::string Disassemble(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += DisassembleLine(line);
    text += '\n';
  }
  return text;
}

}  // namespace ixo::source
