// What the window family's sub-commands share: the window a command is about,
// and small readers of the command's parameters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/engine.h"
#include "engine/numeric_expression.h"
#include "engine/result.h"
#include "window/engine_windows.h"

namespace ixo::window_commands {

// The window a property command names, with the engine around it.
struct Target {
  Engine& engine;
  EngineWindows& windows;
  EngineWindow& window;
  int index;

  const std::string& K(int part) const { return engine.slots.K(part); }
  const std::string& P(int parameter) const { return engine.slots.P(parameter); }
  int32_t Number(int parameter, int32_t fallback) const { return EvaluateNumber(P(parameter), fallback); }
  platform::WindowId native() const { return window.native; }
};

// Reports "Unknown or incomplete command : " and gives no result.
Result Unknown(Engine& engine);

// The window's outer rectangle (its frame included) in screen pixels.
platform::Rect OuterRect(const Target& target);
// Moves and sizes the window by its outer rectangle, at once.
void SetOuterRect(const Target& target, platform::Rect outer);

// Sub-command groups, each answering for the K3 words it knows and giving
// nothing for the others.
using Handled = std::optional<Result>;
// A sub-command that was carried out and gives no result (a plain kNoResult
// would read as "not one of mine").
inline const Handled kDone{std::in_place};
Handled GeometryCommand(Target& target);    // left, top, width, height, border, client sizes, pos, monitor, parent bounds
Handled LookCommand(Target& target);        // title, icon, tooltip, handle, border style and icons, state, repaint, visible, enabled, image
Handled OrderCommand(Target& target);       // z-order, stay on top, foreground, parent, focus, group, flags, close, timer
Handled ShapeCommand(Target& target);       // shape, transparency
Handled DesktopBarCommand(Target& target);  // status icon, app bar

// "create" of a new top-level window (parent_reference empty) or child.
Result CreateWindowCommand(Engine& engine, const std::string* parent_reference);

// Applies a movable setting: "" or "1" both axes, "xonly", "yonly", else not movable.
void ApplyMovableSetting(EngineWindow& window, const std::string& setting);

}  // namespace ixo::window_commands
