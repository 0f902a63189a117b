// The script file format: every byte stored inverted (255 - b), the text cut into
// lines by CR and LF in any combination. No header, no length, no checksum.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ixo {

// Inverts every byte in place; the operation is its own inverse.
void InvertBytes(std::string& bytes);

// Cuts decoded script text into lines the way the loader does: leading bytes
// 32, 8, 13 and 10 are skipped, a line ends at CR, LF or the end of the text, and
// lines that are empty after the skip are dropped. Tab is not skipped.
std::vector<std::string> SplitScriptLines(std::string_view text);

// Joins lines with CR LF and inverts the result: the bytes of a script file.
std::string EncodeScriptFile(const std::vector<std::string>& lines);

// Inverts the file bytes and cuts them into lines.
std::vector<std::string> DecodeScriptFile(std::string bytes);

}  // namespace ixo
