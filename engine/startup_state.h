// What start-up decides for the whole run and other parts read: how the object
// presents itself, whether its folder stays, and the clocks' starting points.
#pragma once

#include <cstdint>
#include <string>

namespace ixo {

struct StartupState {
  bool another_instance = false;   // another engine was running when this one started
  bool browser_available = false;
  bool media_present = false;
  bool keep_folder = false;        // the extraction folder outlives the run
  bool hidden = false;             // no taskbar button, never activated, not topmost
  bool show_in_taskbar = false;
  std::string command_line_file;   // the package name as the command line gave it
  // The high-resolution counter at start (or at the last reset) and its frequency.
  uint64_t time_base_count = 0;
  uint64_t time_base_frequency = 1;
  uint32_t stopwatch_start = 0;    // millisecond tick of the last stopwatch start
};

}  // namespace ixo
