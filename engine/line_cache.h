// Lines without nested expressions split the same way every time they run: the
// cache splits each such line once, remembers its slots and its family, and later
// runs copy them into the command slots and call the family directly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/dispatcher.h"
#include "engine/result.h"

namespace ixo {

class Engine;

class LineCache {
 public:
  // Forgets every line; called whenever a script is loaded.
  void Reset() { lines_.clear(); }

  // Runs the command of script line `line`, whose text the work buffer holds.
  Result Run(Engine& engine, int line);

 private:
  struct DecodedLine {
    enum class State : uint8_t { kUnknown, kDecoded, kEvaluated };
    State state = State::kUnknown;
    uint8_t keyword_count = 0;
    uint8_t parameter_count = 0;
    FamilyHandler handler = nullptr;
    std::vector<std::string> parts;  // the keyword parts, then the parameters
  };

  void Remember(Engine& engine, DecodedLine& decoded);
  static void CopyIntoSlots(Engine& engine, const DecodedLine& decoded);

  std::vector<DecodedLine> lines_;
};

}  // namespace ixo
