// Fuzz target: the assembler on any source text, and the round trip of every line
// it produces through the disassembler.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/script_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  ixo::source::AssembleResult assembled = ixo::source::Assemble(text, "fuzz.ixs");
  for (const std::string& line : assembled.lines) {
    ixo::source::AssembleResult again = ixo::source::Assemble(ixo::source::DisassembleLine(line), "again.ixs");
    if (again.error || again.lines.size() != 1 || again.lines[0] != line) std::abort();
  }
  return 0;
}
