// The "num" family: integer arithmetic, conditions, angles, distances, colours
// and random numbers, each a pure function of the parameters.
#pragma once

#include "engine/result.h"

namespace ixo {

class Engine;

// Runs the "num" command in the slots (K2 selects it); an unknown K2 is reported.
Result NumFamily(Engine& engine);

}  // namespace ixo
