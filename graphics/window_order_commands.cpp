// A window among the others: z-order, staying on top, the foreground, its
// parent, the focus; and the flags that decide how it is moved and closed.
#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/value_text.h"
#include "graphics/window_commands.h"
#include "window/poll_tick.h"

namespace ixo::window_commands {

namespace {

void SetStayOnTop(Target& t, bool on_top) {
  t.window.stay_on_top = on_top;
  if (platform::WindowStacking* stacking = t.engine.platform.stacking)
    stacking->Restack(t.native(), on_top ? platform::StackPlace::kTopmost : platform::StackPlace::kNoTopmost, 0,
                      false);
}

Handled ZOrder(Target& t) {
  platform::WindowStacking* stacking = t.engine.platform.stacking;
  const std::string& after = t.P(1);
  if (after == "top") {
    if (stacking) stacking->Restack(t.native(), platform::StackPlace::kTop, 0, false);
    return kDone;
  }
  const bool activate = t.P(5) == "0";
  // "Do not change the z-order" leaves only the showing and hiding.
  if (t.P(6) != "1" && stacking) {
    if (after == "bottom") {
      stacking->Restack(t.native(), platform::StackPlace::kBottom, 0, activate);
    } else if (after == "notopmost") {
      t.window.stay_on_top = false;
      stacking->Restack(t.native(), platform::StackPlace::kNoTopmost, 0, activate);
    } else if (after == "topmost") {
      t.window.stay_on_top = true;
      stacking->Restack(t.native(), platform::StackPlace::kTopmost, 0, activate);
    } else if (const EngineWindow* reference = t.windows.at(EvaluateNumber(after, 0))) {
      // A number that names no engine window leaves the order as it is.
      if (reference != &t.window)
        stacking->Restack(t.native(), platform::StackPlace::kBehind, reference->native, activate);
    }
  }
  if (t.P(8) == "1")
    t.windows.window_system.Show(t.native());
  else if (t.P(9) == "0")
    t.windows.window_system.Hide(t.native());
  return kDone;
}

Handled Parent(Target& t) {
  const int parent = ResolveWindowIndex(t.windows, t.P(1));
  if (parent == t.index) return kDone;
  if (platform::WindowStacking* stacking = t.engine.platform.stacking)
    stacking->SetParent(t.native(), parent >= 0 ? t.windows.at(parent)->native : 0);
  t.window.parent_index = parent;
  return kDone;
}

Handled Group(Target& t) {
  if (t.K(4) == "get") return t.window.group ? Result(*t.window.group) : kNoResult;
  if (t.K(4) == "set") {
    if (t.P(1).empty())
      t.window.group.reset();
    else
      t.window.group = t.P(1);
    UpdatePolling(t.windows);
    return kDone;
  }
  return Unknown(t.engine);
}

Handled Close(Target& t) {
  if (t.index == 0) {
    ReportError(t.engine, message::kInvalidWindowIndex);
    return kDone;
  }
  UnloadWindow(t.windows, t.index);
  return FlagText(true);
}

Handled Timer(Target& t) {
  const std::string& setting = t.K(4);
  bool enabled = t.window.window_timer_enabled;
  int32_t interval = t.window.window_timer_interval;
  if (setting == "enabled") {
    if (t.P(1).empty()) return FlagText(enabled);
    enabled = t.P(1) == "1";
  } else if (setting == "delay") {
    if (t.P(1).empty()) return NumberText(interval);
    interval = t.Number(1, 1000);
  } else {
    return Unknown(t.engine);
  }
  SetWindowTimer(t.windows, t.index, enabled, interval);
  return kDone;
}

}  // namespace

Handled OrderCommand(Target& t) {
  const std::string& what = t.K(3);
  platform::WindowStacking* stacking = t.engine.platform.stacking;
  if (what == "getparentid") return t.window.parent_index < 0 ? kNoResult : Result(NumberText(t.window.parent_index));
  if (what == "parent") return t.K(4).empty() ? Parent(t) : Unknown(t.engine);
  if (what == "zorder") return ZOrder(t);
  if (what == "formstyle") {
    SetStayOnTop(t, t.Number(1, 0) == 3);
    return kDone;
  }
  if (what == "stayontop") {
    if (t.P(1).empty()) return FlagText(t.window.stay_on_top);
    if (t.P(1) == "1" || t.P(1) == "0") SetStayOnTop(t, t.P(1) == "1");
    return kDone;
  }
  if (what == "zinsertafter") {
    platform::WindowId found = stacking ? stacking->FindByTitle(t.P(1)) : 0;
    if (found && found != t.native()) stacking->Restack(t.native(), platform::StackPlace::kBehind, found, false);
    return FlagText(found != 0);
  }
  if (what == "setforegroundwindow") {
    if (stacking) stacking->SetForeground(t.native());
    return kDone;
  }
  if (what == "bringtofront" || what == "sendtoback") {
    if (stacking)
      stacking->Restack(t.native(), what == "bringtofront" ? platform::StackPlace::kTop : platform::StackPlace::kBottom,
                        0, false);
    return kDone;
  }
  if (what == "group") return Group(t);
  if (what == "setfocus") {
    t.windows.window_system.SetFocus(t.native());
    return kDone;
  }
  if (what == "cangoout") {
    t.window.can_go_out = t.P(1) == "1";
    return kDone;
  }
  if (what == "autoclose") {
    t.window.close_on_escape = t.P(1) == "1";
    t.window.close_on_right_click = t.P(2) == "1";
    return kDone;
  }
  if (what == "movable") {
    ApplyMovableSetting(t.window, t.P(1));
    return kDone;
  }
  if (what == "close") return Close(t);
  if (what == "timer") return Timer(t);
  return std::nullopt;
}

}  // namespace ixo::window_commands
