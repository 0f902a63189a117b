// The readable source form of scripts (.ixs) and its translation to and from the
// tokenized script lines the engine runs. The two directions are exact inverses:
// every script line survives DisassembleLine followed by Assemble, and Assemble
// followed by DisassembleLine yields the canonical spelling of the source.
// docs/script-source.md describes the source form.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ixo::source {

// Nested expressions may be stacked this deep. Assemble rejects deeper nesting;
// DisassembleLine writes the braces of deeper levels as byte escapes so that such
// lines still come back unchanged.
inline constexpr int kMaxNestingDepth = 200;

struct SourceError {
  std::string file;
  int line = 0;    // 1-based
  int column = 0;  // 1-based, counted in characters
  std::string message;

  // "FILE:LINE:COLUMN: message"
  std::string ToString() const;
};

struct AssembleResult {
  std::vector<std::string> lines;  // empty when error is set
  std::optional<SourceError> error;
};

// Assembles UTF-8 source text into script lines (byte strings, a label included as
// "&NAME="). Stops at the first error and reports it with its position.
AssembleResult Assemble(std::string_view source_text, std::string_view file_name);

// The canonical source spelling of one script line (UTF-8, no newline). A line that
// is empty or holds NUL, CR or LF has no source form; its spelling does not assemble.
std::string DisassembleLine(std::string_view line);

// The canonical source of a whole script: one line per script line, each ending in
// "\n", without indentation.
std::string Disassemble(const std::vector<std::string>& lines);

}  // namespace ixo::source
