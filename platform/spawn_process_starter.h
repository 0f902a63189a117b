// Starts programs as child processes of their own, not waited for.
#pragma once

#include <string>
#include <vector>

#include "platform/process_starter.h"

namespace ixo::platform {

class SpawnProcessStarter : public ProcessStarter {
 public:
  // leading_arguments come before the parameters (a host's own switches).
  explicit SpawnProcessStarter(std::vector<std::string> leading_arguments = {})
      : leading_arguments_(std::move(leading_arguments)) {}
  bool Open(const std::string& program, const std::string& parameters) override;

 private:
  std::vector<std::string> leading_arguments_;
};

// Splits a command-line text into words: blanks separate them, double quotes
// group blanks into a word and are removed.
std::vector<std::string> SplitCommandLine(const std::string& text);

}  // namespace ixo::platform
