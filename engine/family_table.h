// The one table of command family words.
#pragma once

#include "engine/dispatcher.h"

namespace ixo {

// Every family word in dispatch order, with its handler where that family exists.
const std::vector<FamilyEntry>& StandardFamilyEntries();

// The table built from those entries, shared by every engine.
const FamilyTable& StandardFamilies();

}  // namespace ixo
