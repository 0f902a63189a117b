// "anim" WINDOW turn|move|direction|sensibility|friction|speed (...)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/numeric_expression.h"
#include "engine/value_text.h"
#include "window/animation.h"
#include "window/engine_windows.h"

namespace ixo {

namespace {

int32_t Number(const Engine& engine, int parameter) { return EvaluateNumber(engine.slots.P(parameter), 0); }

Result Turn(Engine& engine, EngineWindow& window) {
  const std::string& side = engine.slots.K(4);
  int64_t turn = Number(engine, 1);
  if (side != "left" && side != "right") {
    ReportError(engine, message::kUnknownCommand);
    return kNoResult;
  }
  window.animation.direction = NormalizeAngle(window.animation.direction + (side == "left" ? -turn : turn));
  return kNoResult;
}

// Without a fourth word the window steps against its heading, with one along it.
Result Move(Engine& engine, EngineWindow& window) {
  const double d = window.animation.direction * std::numbers::pi / 180.0;
  const double distance = Number(engine, 1);
  const double sign = engine.slots.K(4).empty() ? -1 : 1;
  window.stored_x = static_cast<float>(window.stored_x - sign * std::sin(d) * distance);
  window.stored_y = static_cast<float>(window.stored_y + sign * std::cos(d) * distance);
  return kNoResult;
}

// Scripts give a mathematical angle (0 right, 90 up); the heading counts from down.
Result Direction(Engine& engine, EngineWindow& window) {
  if (engine.slots.P(1).empty()) return NumberText(window.animation.direction);
  int64_t heading = 270 - int64_t{Number(engine, 1)};
  if (heading < 0) heading += 360;
  window.animation.direction = static_cast<int>(std::clamp<int64_t>(heading, INT32_MIN, INT32_MAX));
  return kNoResult;
}

Result Setting(Engine& engine, int& field) {
  if (engine.slots.P(1).empty()) return NumberText(field);
  field = Number(engine, 1);
  return kNoResult;
}

Result Speed(Engine& engine, EngineWindows& windows, EngineWindow& window) {
  if (engine.slots.P(1).empty()) return NumberText(window.animation.speed / 100);
  int64_t speed = int64_t{Number(engine, 1)} * 100;
  window.animation.speed = static_cast<int>(std::clamp<int64_t>(speed, INT32_MIN, INT32_MAX));
  if (window.back_buffer) PaintWindow(windows, window.index);
  StartAnimationTimer(windows, window.index);
  return kNoResult;
}

}  // namespace

Result AnimFamily(Engine& engine) {
  int index = engine.windows ? ResolveWindowIndex(*engine.windows, engine.slots.K(2)) : -1;
  if (index < 0) {
    ReportError(engine, message::kInvalidWindowIndex);
    return kNoResult;
  }
  EngineWindows& windows = *engine.windows;
  EngineWindow& window = *windows.at(index);
  const std::string& what = engine.slots.K(3);
  if (what == "turn") return Turn(engine, window);
  if (what == "move") return Move(engine, window);
  if (what == "direction") return Direction(engine, window);
  if (what == "sensibility") return Setting(engine, window.animation.sensibility);
  if (what == "friction") return Setting(engine, window.animation.friction);
  if (what == "speed") return Speed(engine, windows, window);
  ReportError(engine, message::kUnknownCommand);
  return kNoResult;
}

}  // namespace ixo
