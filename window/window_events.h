// How the engine windows hand events to the script.
#pragma once

#include <string_view>

#include "engine/event_runner.h"
#include "window/engine_windows.h"

namespace ixo {

// Most window events are queued, carry the window's index and its group suffix.
inline void RaiseWindowEvent(EngineWindows& windows, std::string_view name, int index) {
  RaiseEvent(windows.engine, name, false, index, true);
}

inline void RaiseImmediateWindowEvent(EngineWindows& windows, std::string_view name, int index) {
  RaiseEvent(windows.engine, name, true, index, true);
}

// The quick test of the event list: false means no handler can exist for the
// name as RaiseEvent would build it for that window.
bool MayHaveHandler(EngineWindows& windows, std::string_view name, int index, bool group_suffix);

}  // namespace ixo
