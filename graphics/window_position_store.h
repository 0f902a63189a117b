// Window positions kept between runs in the settings store, per object and
// window name, under Software\zodizarez\FAMILY\OBJECT\[Pos]\NAME\ of the user's tree.
#pragma once

#include <string>

namespace ixo {

class EngineWindows;

// The key of a window's position; the window index names it when name is empty.
std::string WindowPositionKey(const std::string& family_id, const std::string& object_id, int index,
                              const std::string& name);

// Writes Left, Top, Width and Height; a window without width or height is not saved.
void SaveWindowPosition(EngineWindows& windows, int index, const std::string& name);

// Moves and sizes the window as saved; false (the window left alone) when
// nothing complete was saved or the saved size is empty.
bool LoadWindowPosition(EngineWindows& windows, int index, const std::string& name);

}  // namespace ixo
