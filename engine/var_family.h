#pragma once

#include "engine/result.h"

namespace ixo {

class Engine;

// "var": arrays (count, getstring, clear, remove, insert, sort), inc and dec,
// free, exists, count, and access by variable index (get, set, getname, getindex).
Result VarFamily(Engine& engine);

}  // namespace ixo
