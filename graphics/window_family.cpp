// The window family: so far the cancel-close switch and each window's position,
// size and timer; the other sub-commands report themselves as unknown.
#include "graphics/window_family.h"

#include <cstdint>

#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/numeric_expression.h"
#include "engine/value_text.h"
#include "window/engine_windows.h"

namespace ixo {

namespace {

Result Unknown(Engine& engine) {
  ReportError(engine, message::kUnknownCommand);
  return kNoResult;
}

// A new left or top is stored and applied by the next idle pass; until then the
// window reports where it still is.
Result Coordinate(Engine& engine, EngineWindow& window, bool horizontal) {
  platform::Rect bounds = engine.windows->window_system.Bounds(window.native);
  const std::string& value = engine.slots.P(1);
  if (value.empty()) return NumberText(horizontal ? bounds.left : bounds.top);
  float hundredths = static_cast<float>(int64_t{EvaluateNumber(value, 0)} * 100);
  (horizontal ? window.stored_x : window.stored_y) = hundredths;
  return kNoResult;
}

// Sizes change at once.
Result Extent(Engine& engine, EngineWindow& window, bool horizontal) {
  platform::WindowSystem& system = engine.windows->window_system;
  platform::Rect bounds = system.Bounds(window.native);
  const std::string& value = engine.slots.P(1);
  if (value.empty()) return NumberText(horizontal ? bounds.width : bounds.height);
  (horizontal ? bounds.width : bounds.height) = EvaluateNumber(value, 50);
  system.SetBounds(window.native, bounds);
  return kNoResult;
}

Result Timer(Engine& engine, EngineWindow& window) {
  const std::string& setting = engine.slots.K(4);
  const std::string& value = engine.slots.P(1);
  bool enabled = window.window_timer_enabled;
  int32_t interval = window.window_timer_interval;
  if (setting == "enabled") {
    if (value.empty()) return FlagText(enabled);
    enabled = value == "1";
  } else if (setting == "delay") {
    if (value.empty()) return NumberText(interval);
    interval = EvaluateNumber(value, 1000);
  } else {
    return Unknown(engine);
  }
  SetWindowTimer(*engine.windows, window.index, enabled, interval);
  return kNoResult;
}

}  // namespace

Result WindowFamily(Engine& engine) {
  const CommandSlots& slots = engine.slots;
  if (!engine.windows) return Unknown(engine);
  if (slots.K(2) == "cancelclose") {
    engine.windows->cancel_close = slots.P(1) == "1";
    return kNoResult;
  }
  int index = ResolveWindowIndex(*engine.windows, slots.K(2));
  if (index < 0) {
    ReportError(engine, message::kInvalidWindowIndex);
    return kNoResult;
  }
  EngineWindow& window = *engine.windows->at(index);
  const std::string& property = slots.K(3);
  if (property == "left") return Coordinate(engine, window, true);
  if (property == "top") return Coordinate(engine, window, false);
  if (property == "width") return Extent(engine, window, true);
  if (property == "height") return Extent(engine, window, false);
  if (property == "timer") return Timer(engine, window);
  return Unknown(engine);
}

}  // namespace ixo
