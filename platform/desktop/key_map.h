// Keys of the X keyboard (keysyms, which are also GDK's key values) and the key
// codes scripts know, in both directions.
#pragma once

#include <cstdint>
#include <vector>

namespace ixo::platform {

// The key code of an unshifted keysym (the key's first level), 0 for keys
// scripts have no code for.
int VirtualKeyOfKeysym(uint32_t keysym);

// Every keysym whose key makes that key code count as held: the generic shift,
// control and alt codes stand for both their keys.
std::vector<uint32_t> KeysymsOfVirtualKey(int virtual_key);

}  // namespace ixo::platform
