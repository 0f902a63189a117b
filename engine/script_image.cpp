#include "engine/script_image.h"

#include "engine/tokens.h"

namespace ixo {

namespace {

int FindHeader(const std::vector<HeaderEntry>& table, std::string_view name) {
  for (const HeaderEntry& entry : table)
    if (entry.name == name) return entry.line;
  return -1;
}

// The first two keyword-path tokens of a command text: cut at 142, 143 and "=",
// stopping after the token that ends at 143, at "=" or at the end.
struct HeaderWords {
  std::string_view first, second;
  int count = 0;
};

HeaderWords ReadHeaderWords(std::string_view command) {
  HeaderWords words;
  size_t start = 0;
  while (words.count < 2) {
    size_t end = start;
    while (end < command.size() && static_cast<unsigned char>(command[end]) != token::kSeparator &&
           static_cast<unsigned char>(command[end]) != token::kOpen && command[end] != '=')
      ++end;
    std::string_view word = command.substr(start, end - start);
    (words.count == 0 ? words.first : words.second) = word;
    ++words.count;
    if (end >= command.size() || static_cast<unsigned char>(command[end]) != token::kSeparator) break;
    start = end + 1;
  }
  return words;
}

}  // namespace

ScriptLine SplitLabel(std::string_view raw_line) {
  if (!raw_line.empty() && raw_line[0] == '&') {
    size_t equals = raw_line.find('=');
    if (equals != std::string_view::npos)
      return {std::string(raw_line.substr(1, equals - 1)), std::string(raw_line.substr(equals + 1))};
  }
  return {"", std::string(raw_line)};
}

void ScriptImage::Clear() {
  lines_.clear();
  events_.clear();
  functions_.clear();
  event_list_.clear();
  warnings_.clear();
}

void ScriptImage::Load(const std::vector<std::string>& raw_lines) {
  Clear();
  lines_.reserve(raw_lines.size());
  for (const std::string& raw : raw_lines) {
    // Longer lines do not fit the loader's line buffer; they are cut, not refused,
    // so that line numbers stay those of the file.
    std::string_view line = raw;
    if (line.size() > kMaxLineLength) {
      warnings_.push_back("Script line " + std::to_string(line_count()) + " is longer than " +
                          std::to_string(kMaxLineLength) + " bytes and was cut.");
      line = line.substr(0, kMaxLineLength);
    }
    RegisterHeader(line, line_count());
    lines_.push_back(SplitLabel(line));
  }
}

void ScriptImage::RegisterHeader(std::string_view raw_line, int index) {
  std::string_view command = raw_line;
  if (!command.empty() && command[0] == '&') {
    size_t equals = command.find('=');
    if (equals != std::string_view::npos) command = command.substr(equals + 1);
  }
  HeaderWords words = ReadHeaderWords(command);
  if (words.count < 2 || words.second == "end" || words.second == "exit") return;
  if (words.first == "event") {
    if (events_.size() >= kMaxEvents) {
      warnings_.push_back("Too many events: the event " + std::string(words.second) + " was not registered.");
      return;
    }
    event_list_ += words.second;
    event_list_ += "--";
    events_.push_back({std::string(words.second), index});
  } else if (words.first == "function") {
    if (functions_.size() >= kMaxFunctions) {
      warnings_.push_back("Too many functions: the function " + std::string(words.second) +
                          " was not registered.");
      return;
    }
    functions_.push_back({std::string(words.second), index});
  }
}

int ScriptImage::FindEvent(std::string_view name) const { return FindHeader(events_, name); }
int ScriptImage::FindFunction(std::string_view name) const { return FindHeader(functions_, name); }

}  // namespace ixo
