// Starting another program as the desktop's "open" action does, shown normally.
#pragma once

#include <string>

namespace ixo::platform {

class ProcessStarter {
 public:
  virtual ~ProcessStarter() = default;
  // parameters is one command-line text; quotes in it group words. Returns
  // whether the program could be started.
  virtual bool Open(const std::string& program, const std::string& parameters) = 0;
};

}  // namespace ixo::platform
