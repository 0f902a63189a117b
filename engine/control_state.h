// The state of loops and function calls. It lives for the whole run: ending an
// event does not reset it, so scripts leave loops and functions by their closing lines.
#pragma once

#include <string>
#include <vector>

namespace ixo {

inline constexpr int kMaxLoopDepth = 3000;
inline constexpr int kMemoryFullCallDepth = 19000;
inline constexpr int kTerminateCallDepth = 19900;
inline constexpr int kMaxFunctionParameters = 13;
inline constexpr size_t kMaxParameterNameLength = 60;

struct ForLoop {
  int line = 0;          // the "for" line
  int end = 0;
  int step = 1;
  int value = 0;
  int variable = -1;     // variable index of the loop variable
};

struct CallFrame {
  int return_line = -1;         // current line at the time of the call
  std::string function;         // the called function's name
  std::string saved_line;       // the calling line with the substitutions made so far
  int evaluation_start = -1;    // where the call stood in it; -1: it was the whole line
  int evaluation_end = -1;
};

struct ControlState {
  std::vector<int> while_lines;     // the "while" line of each open loop, innermost last
  int while_depth = -1;
  int if_counter = 0;
  std::vector<ForLoop> for_loops;
  int for_depth = -1;
  std::vector<CallFrame> frames;    // frames[call_depth] is the innermost call
  int call_depth = -1;
};

}  // namespace ixo
