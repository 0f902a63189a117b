// The command slots: the keyword parts and parameters of the command being run.
// One set exists; every split overwrites it, so a handler that runs more script
// lines must copy what it still needs first.
#pragma once

#include <array>
#include <string>

namespace ixo {

inline constexpr int kKeywordParts = 6;
inline constexpr int kParameters = 13;

struct CommandSlots {
  std::array<std::string, kKeywordParts> keyword;   // K1..K6 at [0]..[5]
  std::array<std::string, kParameters> parameter;   // P1..P13 at [0]..[12]

  const std::string& K(int n) const { return keyword[n - 1]; }
  const std::string& P(int n) const { return parameter[n - 1]; }
};

}  // namespace ixo
