#pragma once

#include "engine/result.h"

namespace ixo {

class Engine;

// "ixo" and "ixe": rebuild the running package, create packages, read package
// headers, set and get the current header, extract packages.
Result IxoFamily(Engine& engine);

}  // namespace ixo
