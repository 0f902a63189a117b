// A window's outline as the desktop shows it: its region, less the pixels of
// its key colour in the back buffer while one is set.
#pragma once

namespace ixo {

class EngineWindows;

// Hands the window's current outline to the desktop. Called when the region or
// the key colour change, and after every paint while a key colour is set.
void ApplyWindowShape(EngineWindows& windows, int index);

}  // namespace ixo
