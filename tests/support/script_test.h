// A test fixture that runs scripts written in the source form on the headless
// host, capturing message boxes and error reports. Besides the standard families
// its engine knows two test commands:
//   raise(NAME, IMMEDIATE)   raises the event NAME, immediately when IMMEDIATE is "1"
//   close()                  sets the closing flag, as the application's close does
//   cancelclose()            sets the engine windows' cancel-close flag
//   throw(TEXT)              throws an exception with that message
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/headless_runner.h"

namespace ixo {

class ScriptTest : public testing::Test {
 protected:
  ScriptTest();

  Engine& engine() { return runner_.engine(); }
  HeadlessRunner& runner() { return runner_; }

  // Assembles the source and loads it; the test fails on a source error.
  void Load(const std::string& source);
  // Loads the source and runs it as ixoengine --headless does.
  void Run(const std::string& source);

  // Puts a command into the slots (keyword parts, then parameters; the rest empty)
  // and dispatches it, as if a script line held it.
  Result Command(const std::vector<std::string>& path, const std::vector<std::string>& parameters);

  // Element 0 of a variable, or "<missing>" when it does not exist.
  std::string Var(const std::string& name);

  std::string output() const { return out_.str(); }
  const std::vector<std::string>& reports() const { return reports_; }
  // Every event whose handler started, in order: its name, followed by "@" and
  // the window index when that is not 0.
  const std::vector<std::string>& events() const { return events_; }
  void ClearEvents() { events_.clear(); }
  // Every report joined, for looking for a message in any of them.
  std::string AllReports() const;

 private:
  std::ostringstream out_;
  std::ostringstream err_;
  HeadlessRunner runner_;
  std::vector<std::string> reports_;
  std::vector<std::string> events_;
};

}  // namespace ixo
