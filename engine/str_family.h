// The "str" family: substrings, case, trimming, searching and replacing. Positions
// and lengths are 0-based byte counts.
#pragma once

#include "engine/result.h"

namespace ixo {

class Engine;

// Runs the "str" command in the slots (K2 selects it); an unknown K2 is reported.
Result StrFamily(Engine& engine);

}  // namespace ixo
