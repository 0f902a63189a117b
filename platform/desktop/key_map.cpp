#include "platform/desktop/key_map.h"

#include <array>

namespace ixo::platform {

namespace {

struct KeyPair {
  uint32_t keysym;
  int virtual_key;
};

// Keys with a code of their own. Letters, digits, function keys and the keypad
// digits are ranges and handled in code.
constexpr std::array kKeyPairs{
    KeyPair{0xff08, 0x08},  // BackSpace
    KeyPair{0xff09, 0x09},  // Tab
    KeyPair{0xfe20, 0x09},  // ISO_Left_Tab (shift-tab)
    KeyPair{0xff0d, 0x0D},  // Return
    KeyPair{0xff8d, 0x0D},  // KP_Enter
    KeyPair{0xffe1, 0x10},  // Shift_L
    KeyPair{0xffe2, 0x10},  // Shift_R
    KeyPair{0xffe3, 0x11},  // Control_L
    KeyPair{0xffe4, 0x11},  // Control_R
    KeyPair{0xffe9, 0x12},  // Alt_L
    KeyPair{0xffea, 0x12},  // Alt_R
    KeyPair{0xfe03, 0x12},  // ISO_Level3_Shift (AltGr)
    KeyPair{0xff13, 0x13},  // Pause
    KeyPair{0xffe5, 0x14},  // Caps_Lock
    KeyPair{0xff1b, 0x1B},  // Escape
    KeyPair{0x0020, 0x20},  // space
    KeyPair{0xff55, 0x21},  // Page_Up
    KeyPair{0xff9a, 0x21},  // KP_Page_Up
    KeyPair{0xff56, 0x22},  // Page_Down
    KeyPair{0xff9b, 0x22},  // KP_Page_Down
    KeyPair{0xff57, 0x23},  // End
    KeyPair{0xff9c, 0x23},  // KP_End
    KeyPair{0xff50, 0x24},  // Home
    KeyPair{0xff95, 0x24},  // KP_Home
    KeyPair{0xff51, 0x25},  // Left
    KeyPair{0xff96, 0x25},  // KP_Left
    KeyPair{0xff52, 0x26},  // Up
    KeyPair{0xff97, 0x26},  // KP_Up
    KeyPair{0xff53, 0x27},  // Right
    KeyPair{0xff98, 0x27},  // KP_Right
    KeyPair{0xff54, 0x28},  // Down
    KeyPair{0xff99, 0x28},  // KP_Down
    KeyPair{0xff61, 0x2C},  // Print
    KeyPair{0xff63, 0x2D},  // Insert
    KeyPair{0xff9e, 0x2D},  // KP_Insert
    KeyPair{0xffff, 0x2E},  // Delete
    KeyPair{0xff9f, 0x2E},  // KP_Delete
    KeyPair{0xffeb, 0x5B},  // Super_L
    KeyPair{0xffec, 0x5C},  // Super_R
    KeyPair{0xff67, 0x5D},  // Menu
    KeyPair{0xffaa, 0x6A},  // KP_Multiply
    KeyPair{0xffab, 0x6B},  // KP_Add
    KeyPair{0xffac, 0x6C},  // KP_Separator
    KeyPair{0xffad, 0x6D},  // KP_Subtract
    KeyPair{0xffae, 0x6E},  // KP_Decimal
    KeyPair{0xffaf, 0x6F},  // KP_Divide
    KeyPair{0xff7f, 0x90},  // Num_Lock
    KeyPair{0xff14, 0x91},  // Scroll_Lock
    KeyPair{0x003b, 0xBA},  // semicolon
    KeyPair{0x003d, 0xBB},  // equal
    KeyPair{0x002c, 0xBC},  // comma
    KeyPair{0x002d, 0xBD},  // minus
    KeyPair{0x002e, 0xBE},  // period
    KeyPair{0x002f, 0xBF},  // slash
    KeyPair{0x0060, 0xC0},  // grave
    KeyPair{0x005b, 0xDB},  // bracketleft
    KeyPair{0x005c, 0xDC},  // backslash
    KeyPair{0x005d, 0xDD},  // bracketright
    KeyPair{0x0027, 0xDE},  // apostrophe
    KeyPair{0x003c, 0xE2},  // less (the extra key of European keyboards)
};

// The keys behind the left and right codes of the modifiers.
constexpr std::array kSidedModifiers{
    KeyPair{0xffe1, 0xA0}, KeyPair{0xffe2, 0xA1},  // shift
    KeyPair{0xffe3, 0xA2}, KeyPair{0xffe4, 0xA3},  // control
    KeyPair{0xffe9, 0xA4}, KeyPair{0xffea, 0xA5},  // alt
};

constexpr uint32_t kKeysymF1 = 0xffbe;
constexpr uint32_t kKeysymKeypad0 = 0xffb0;

}  // namespace

int VirtualKeyOfKeysym(uint32_t keysym) {
  if (keysym >= 'a' && keysym <= 'z') return static_cast<int>(keysym - 'a' + 'A');
  if (keysym >= 'A' && keysym <= 'Z') return static_cast<int>(keysym);
  if (keysym >= '0' && keysym <= '9') return static_cast<int>(keysym);
  if (keysym >= kKeysymF1 && keysym < kKeysymF1 + 24) return static_cast<int>(0x70 + keysym - kKeysymF1);
  if (keysym >= kKeysymKeypad0 && keysym <= kKeysymKeypad0 + 9) return static_cast<int>(0x60 + keysym - kKeysymKeypad0);
  for (const KeyPair& pair : kKeyPairs)
    if (pair.keysym == keysym) return pair.virtual_key;
  return 0;
}

std::vector<uint32_t> KeysymsOfVirtualKey(int virtual_key) {
  std::vector<uint32_t> keysyms;
  if (virtual_key >= 'A' && virtual_key <= 'Z') keysyms.push_back(static_cast<uint32_t>(virtual_key - 'A' + 'a'));
  if (virtual_key >= '0' && virtual_key <= '9') keysyms.push_back(static_cast<uint32_t>(virtual_key));
  if (virtual_key >= 0x70 && virtual_key < 0x70 + 24) keysyms.push_back(kKeysymF1 + static_cast<uint32_t>(virtual_key - 0x70));
  if (virtual_key >= 0x60 && virtual_key <= 0x69) keysyms.push_back(kKeysymKeypad0 + static_cast<uint32_t>(virtual_key - 0x60));
  for (const KeyPair& pair : kKeyPairs)
    if (pair.virtual_key == virtual_key) keysyms.push_back(pair.keysym);
  for (const KeyPair& pair : kSidedModifiers)
    if (pair.virtual_key == virtual_key) keysyms.push_back(pair.keysym);
  return keysyms;
}

}  // namespace ixo::platform
