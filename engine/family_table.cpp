#include "engine/family_table.h"

#include "engine/control_families.h"
#include "engine/event_family.h"
#include "engine/function_family.h"
#include "engine/keyboard_family.h"
#include "engine/num_family.h"
#include "engine/str_family.h"
#include "engine/time_family.h"
#include "engine/value_family.h"
#include "engine/var_family.h"
#include "graphics/draw_family.h"
#include "graphics/window_family.h"
#include "package/ixo_family.h"
#include "window/animation.h"

namespace ixo {

const std::vector<FamilyEntry>& StandardFamilyEntries() {
  // Words without a handler fall through to the function lookup, so a script's own
  // function of that name is called instead.
  static const std::vector<FamilyEntry> entries({
      {"s", ValueCommand},
      {"?", ChoiceCommand},
      {"num", NumFamily},
      {"while", WhileFamily},
      {"for", ForFamily},
      {"if", IfFamily},
      {"draw", DrawFamily},
      {"var", VarFamily},
      {"doevent", DoEventCommand},
      {"event", EventFamily},
      {"function", FunctionFamily},
      {"return", ReturnCommand},
      {"window", WindowFamily},
      {"anim", AnimFamily},
      {"str", StrFamily},
      {"sound", nullptr},
      {"mouse", nullptr},
      {"screen", nullptr},
      {"keyboard", KeyboardFamily},
      {"inputbox", nullptr},
      {"treeview", nullptr},
      {"path", nullptr},
      {"disk", nullptr},
      {"browser", nullptr},
      {"http", nullptr},
      {"inet", nullptr},
      {"udp", nullptr},
      {"ftp", nullptr},
      {"extern", nullptr},
      {"app", nullptr},
      {"system", nullptr},
      {"ixe", IxoFamily},
      {"ixo", IxoFamily},
      {"reg", nullptr},
      {"time", TimeFamily},
      {"shortcut", nullptr},
  });
  return entries;
}

const FamilyTable& StandardFamilies() {
  static const FamilyTable table(StandardFamilyEntries());
  return table;
}

}  // namespace ixo
