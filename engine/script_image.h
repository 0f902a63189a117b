// The loaded script: the line table, the event table with its quick-test list,
// and the function table. Built once by LoadScript, read-only afterwards.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ixo {

struct ScriptLine {
  std::string label;  // "" when the line has none
  std::string text;   // the command text, label and "=" removed
};

// A registered event or function header: its name and the index of its header line.
struct HeaderEntry {
  std::string name;
  int line = 0;
};

inline constexpr size_t kMaxLineLength = 2569;
inline constexpr size_t kMaxEvents = 5000;
inline constexpr size_t kMaxFunctions = 6000;

class ScriptImage {
 public:
  // Replaces the whole image by the given lines (already decoded and cut).
  void Load(const std::vector<std::string>& raw_lines);
  void Clear();

  int line_count() const { return static_cast<int>(lines_.size()); }
  const ScriptLine& line(int index) const { return lines_[index]; }

  // Index of the header line of the first event or function of that name, or -1.
  int FindEvent(std::string_view name) const;
  int FindFunction(std::string_view name) const;

  // Every event name followed by "--", in registration order. A name that does not
  // occur in it anywhere certainly has no handler.
  const std::string& event_list() const { return event_list_; }
  const std::vector<HeaderEntry>& events() const { return events_; }

  // What the loader had to refuse or cut: over-long lines, headers beyond capacity.
  const std::vector<std::string>& warnings() const { return warnings_; }

 private:
  void RegisterHeader(std::string_view raw_line, int index);

  std::vector<ScriptLine> lines_;
  std::vector<HeaderEntry> events_;
  std::vector<HeaderEntry> functions_;
  std::string event_list_;
  std::vector<std::string> warnings_;
};

// Splits "&name=command" into label and command text. A line that starts with "&"
// but has no "=" keeps its whole text as the command and gets no label.
ScriptLine SplitLabel(std::string_view raw_line);

}  // namespace ixo
