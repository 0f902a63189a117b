#include "window/window_messages.h"

#include "engine/engine.h"
#include "platform/status_icons.h"
#include "window/engine_windows.h"
#include "window/poll_tick.h"
#include "window/window_events.h"

namespace ixo {

void HandleCloseRequest(EngineWindows& windows, int index) {
  if (!windows.at(index)) return;
  RaiseWindowEvent(windows, "window:close", index);
  if (index == 0) EngineShutdown(windows, true);
  if (windows.cancel_close) return;
  // A window closed this way goes without "unload".
  if (EngineWindow* window = windows.at(index)) {
    windows.window_system.Hide(window->native);
    ReleaseSlot(windows, index);
    UpdatePolling(windows);
  }
}

void HandleMoved(EngineWindows& windows, int index) {
  if (!windows.at(index)) return;
  RaiseWindowEvent(windows, "window:move", index);
  RaiseEvent(windows.engine, "winmove", false, index, false);
}

void HandleResized(EngineWindows& windows, int index) {
  EngineWindow* window = windows.at(index);
  if (window && windows.window_system.IsVisible(window->native)) RaiseWindowEvent(windows, "resize", index);
}

void HandleActivation(EngineWindows& windows, int index, bool active) {
  EngineWindow* window = windows.at(index);
  if (!window) return;
  // The first activations of the main window come from showing it, not from the user.
  if (window->activation_ignore_count == 0) {
    RaiseWindowEvent(windows, active ? "window:gotfocus" : "window:lostfocus", index);
  } else {
    --window->activation_ignore_count;
  }
  window = windows.at(index);
  if (window && windows.window_system.IsVisible(window->native))
    RaiseWindowEvent(windows, active ? "window:activate" : "window:deactivate", index);
}

void HandlePrivateMessage(EngineWindows& windows, int index, uint32_t number, uint64_t first, uint64_t second) {
  if (!windows.at(index)) return;
  switch (static_cast<platform::PrivateMessage>(number - platform::kPrivateMessageBase)) {
    case platform::PrivateMessage::kStatusIcon: {
      using namespace platform;
      const char* name = second == kIconLeftDown         ? "statusicon:mouse:down"
                         : second == kIconLeftUp         ? "statusicon:mouse:up"
                         : second == kIconRightDown      ? "statusicon:mouse:rightclick"
                         : second == kIconLeftDoubleClick ? "statusicon:mouse:dblclick"
                         : second == kIconMouseMove      ? "statusicon:mouse:move"
                                                         : nullptr;
      if (name) RaiseWindowEvent(windows, name, index);
      break;
    }
    case platform::PrivateMessage::kAppBar:
      if (first == platform::kAppBarPositionChanged) RaiseWindowEvent(windows, "appbar:poschanged", index);
      break;
    case platform::PrivateMessage::kQuit:
      // Another engine asks this one to go: no event, no question.
      EngineShutdown(windows, false);
      break;
    case platform::PrivateMessage::kExternText:
    case platform::PrivateMessage::kExternNumbers:
      // Received by the extern family's receiver once it exists.
      break;
  }
}

void HandleApplicationActivation(EngineWindows& windows, bool active) {
  EngineWindow* main = windows.at(0);
  if (main && main->activation_ignore_count == 0)
    RaiseEvent(windows.engine, active ? "gotfocus" : "lostfocus", false, 0, false);
}

void HandleMinimize(EngineWindows& windows) { RaiseImmediateWindowEvent(windows, "minimize", 0); }

void HandleRestore(EngineWindows& windows) { RaiseWindowEvent(windows, "restore", 0); }

bool HandleShutdownQuery(EngineWindows& windows) {
  if (!windows.at(0)) return true;
  windows.cancel_close = false;
  RaiseImmediateWindowEvent(windows, "system:shutdown:query", 0);
  return !windows.cancel_close;
}

void HandleShutdown(EngineWindows& windows) {
  if (!windows.at(0)) return;
  windows.cancel_close = false;
  RaiseImmediateWindowEvent(windows, "system:shutdown", 0);
  if (!windows.cancel_close) EngineShutdown(windows, false);
}

void HandleWorkAreaChanged(EngineWindows& windows) {
  if (windows.at(0)) RaiseEvent(windows.engine, "system:desktop:changed", false, 0, false);
}

void HandleDisplayChanged(EngineWindows& windows) {
  if (windows.at(0)) RaiseEvent(windows.engine, "system:display:changed", false, 0, false);
}

void HandleException(EngineWindows& windows, std::string_view message) {
  // The event the error broke out of cannot go on; left running, it would keep
  // every later event queued behind it.
  EndRunningEvent(windows.engine);
  windows.engine.context.last_error = std::string(message);
  RaiseWindowEvent(windows, "exception", 0);
}

}  // namespace ixo
