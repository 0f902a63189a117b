// How a window looks and behaves to the user: caption, hint, handle, frame,
// state, visibility, whether it takes input, and repainting.
#include "engine/value_text.h"
#include "graphics/window_commands.h"
#include "graphics/window_picture_commands.h"

namespace ixo::window_commands {

namespace {

platform::BorderStyle BorderStyleOf(const std::string& digit) {
  if (digit == "0") return platform::BorderStyle::kDialog;
  if (digit == "2") return platform::BorderStyle::kSingle;
  if (digit == "3") return platform::BorderStyle::kSizeable;
  if (digit == "4") return platform::BorderStyle::kToolSizeable;
  if (digit == "5") return platform::BorderStyle::kToolFixed;
  return platform::BorderStyle::kNone;
}

// Only a window without frame stays under the script's control; a framed one is
// left where the user drags it by its caption, unless P2 keeps it managed.
Handled BorderStyle(Target& t) {
  const std::string& digit = t.P(1);
  t.window.border = BorderStyleOf(digit);
  if (platform::WindowFrames* frames = t.engine.platform.frames)
    frames->SetBorder(t.native(), t.window.border, t.window.border_icons);
  t.window.managed_position = digit == "1" || t.P(2) == "1";
  return kDone;
}

Handled BorderIcons(Target& t) {
  t.window.border_icons = {t.P(1) == "1", t.P(2) == "1", t.P(3) == "1", t.P(4) == "1"};
  // The frame keeps its style; only its buttons change.
  if (platform::WindowFrames* frames = t.engine.platform.frames)
    frames->SetBorder(t.native(), t.window.border, t.window.border_icons);
  return kDone;
}

Handled State(Target& t) {
  platform::WindowFrames* frames = t.engine.platform.frames;
  if (t.P(1).empty()) return NumberText(frames ? static_cast<int>(frames->State(t.native())) : 0);
  const int32_t state = t.Number(1, 0);
  if (frames && state >= 0 && state <= 2) frames->SetState(t.native(), static_cast<platform::WindowState>(state));
  return kDone;
}

Handled Visible(Target& t) {
  platform::WindowSystem& system = t.windows.window_system;
  if (t.P(1).empty()) return FlagText(system.IsVisible(t.native()));
  if (t.P(1) == "0")
    system.Hide(t.native());
  else
    system.Show(t.native());
  return kDone;
}

Handled Enabled(Target& t) {
  platform::WindowFrames* frames = t.engine.platform.frames;
  if (t.P(1).empty()) return FlagText(!frames || frames->IsEnabled(t.native()));
  if (frames) frames->SetEnabled(t.native(), t.P(1) == "1");
  return kDone;
}

}  // namespace

Handled LookCommand(Target& t) {
  const std::string& what = t.K(3);
  platform::WindowFrames* frames = t.engine.platform.frames;
  if (what == "title") {
    if (frames) frames->SetTitle(t.native(), t.P(1));
    return kDone;
  }
  if (what == "icon") return IconCommand(t);
  if (what == "tooltip") {
    if (frames) frames->SetTooltip(t.native(), t.P(1));
    return kDone;
  }
  if (what == "handle") return std::to_string(t.native());
  if (what == "borderstyle") return BorderStyle(t);
  if (what == "bordericon") return BorderIcons(t);
  if (what == "state") return State(t);
  if (what == "repaint") {
    t.windows.window_system.Invalidate(t.native());
    return kDone;
  }
  if (what == "visible") return Visible(t);
  if (what == "enabled") return Enabled(t);
  if (what == "image") return ImageCommand(t);
  return std::nullopt;
}

}  // namespace ixo::window_commands
