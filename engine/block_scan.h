// Finding the partner of a control line. Loops and conditionals have no compiled
// block structure: each finds its closing line by walking forward through the line
// table and counting nesting by the first bytes of each line. The line table never
// changes after loading, so every answer is remembered per starting line.
#pragma once

#include <vector>

namespace ixo {

class ScriptImage;

inline constexpr int kNotFound = -1;

struct IfScanStop {
  int line = kNotFound;
  bool at_else = false;  // stopped at the else line of this if, not at its end
};

class BlockScanner {
 public:
  explicit BlockScanner(const ScriptImage& script) : script_(script) {}

  // Forgets every remembered answer; called whenever a script is loaded.
  void Reset();

  // The "while" "end" or "for" "next" closing the loop whose body starts at from
  // (nesting count 1). The last line of the script is never examined.
  int MatchingWhileEnd(int from);
  int MatchingForNext(int from);

  // From the line after a false "if": its else line (the false branch follows it) or its end line.
  IfScanStop SkipFalseBranch(int from);

  // From the line after an "else" reached at the end of a true branch: the line
  // where the branch ends. The if counter's value matters only as to whether it is 1.
  int SkipElseBranch(int from, int if_counter);

 private:
  enum class Kind { kOther, kWhileOpen, kWhileEnd, kForOpen, kForNext, kIfOpen, kIfElse, kIfEnd };
  Kind Classify(int line) const;
  int ScanLoop(int from, Kind open, Kind close) const;
  IfScanStop ScanIf(int from, int start_count) const;

  const ScriptImage& script_;
  std::vector<int> while_end_, for_next_, if_false_, else_end_[2];
};

}  // namespace ixo
