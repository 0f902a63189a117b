// "window" create (SHOW, GROUP, MOVABLE, ONTOP, ESCAPE, RIGHTCLICK, CANGOOUT),
// and "window" PARENT create (...) for a window inside another.
#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/value_text.h"
#include "graphics/window_commands.h"
#include "window/poll_tick.h"

namespace ixo::window_commands {

Result Unknown(Engine& engine) {
  ReportError(engine, message::kUnknownCommand);
  return kNoResult;
}

void ApplyMovableSetting(EngineWindow& window, const std::string& setting) {
  window.movable = setting.empty() || setting == "1" || setting == "xonly" || setting == "yonly";
  window.move_axis = setting == "xonly"   ? MoveAxis::kHorizontal
                     : setting == "yonly" ? MoveAxis::kVertical
                                          : MoveAxis::kBoth;
}

Result CreateWindowCommand(Engine& engine, const std::string* parent_reference) {
  EngineWindows& windows = *engine.windows;
  const CommandSlots& slots = engine.slots;
  int index = 1;
  while (index < kMaxEngineWindows && windows.at(index)) ++index;
  if (index == kMaxEngineWindows) return kNoResult;

  CreateEngineWindow(windows, index);
  EngineWindow& window = *windows.at(index);
  const int parent = parent_reference ? ResolveWindowIndex(windows, *parent_reference) : -1;
  if (parent >= 0 && engine.platform.stacking)
    engine.platform.stacking->SetParent(window.native, windows.at(parent)->native);
  window.parent_index = parent;
  if (slots.P(1) != "0") windows.window_system.Show(window.native);
  if (!slots.P(2).empty()) window.group = slots.P(2);
  ApplyMovableSetting(window, slots.P(3));
  window.stay_on_top = slots.P(4) != "0" && parent < 0;
  window.close_on_escape = slots.P(5) != "0";
  window.close_on_right_click = slots.P(6) != "0";
  window.can_go_out = slots.P(7) == "1";
  window.status_icon_shown = false;
  window.app_bar_registered = false;
  windows.window_system.SetStyle(window.native, {.tool_window = true, .topmost = window.stay_on_top, .no_activate = false});
  // Its group decides which of its events have handlers.
  UpdatePolling(windows);
  return NumberText(index);
}

}  // namespace ixo::window_commands
