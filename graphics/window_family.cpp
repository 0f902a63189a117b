// "window" GLOBAL ... | WINDOW PROPERTY ...: creating windows, finding them, and
// reading and changing everything about one.
#include "graphics/window_family.h"

#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/value_text.h"
#include "graphics/window_commands.h"

namespace ixo {

namespace {

using window_commands::Unknown;

// The indices below the high-water count whose group is name; an empty name
// selects those without a group, empty slots included.
std::vector<int> GroupMembers(EngineWindows& windows, const std::string& name) {
  std::vector<int> members;
  for (int index = 0; index < windows.high_water; ++index) {
    const EngineWindow* window = windows.at(index);
    const bool has_group = window && window->group;
    if (name.empty() ? !has_group : has_group && *window->group == name) members.push_back(index);
  }
  return members;
}

std::string JoinIndices(const std::vector<int>& indices) {
  std::string joined;
  for (int index : indices) joined += (joined.empty() ? "" : "^^") + std::to_string(index);
  return joined;
}

// The sub-commands that name no window; nothing when K2 is none of them.
std::optional<Result> GlobalCommand(Engine& engine, EngineWindows& windows) {
  const CommandSlots& slots = engine.slots;
  const std::string& what = slots.K(2);
  if (what == "count") {
    int count = 0;
    for (int index = 0; index < kMaxEngineWindows; ++index) count += windows.at(index) ? 1 : 0;
    return NumberText(count);
  }
  if (what == "create") return window_commands::CreateWindowCommand(engine, nullptr);
  if (what == "eventauthor") {
    int author = engine.context.event_window_index;
    return author == -1 ? window_commands::kDone : Result(NumberText(author));
  }
  if (what == "cancelclose") {
    windows.cancel_close = slots.P(1) == "1";
    return window_commands::kDone;
  }
  if (what == "group" && slots.K(3) == "getlist") return JoinIndices(GroupMembers(windows, slots.P(1)));
  if (what == "group" && slots.K(3) == "count")
    return NumberText(static_cast<int32_t>(GroupMembers(windows, slots.P(1)).size()));
  if (what == "exists") return FlagText(ResolveWindowIndex(windows, slots.P(1)) >= 0);
  if (what == "frompoint") {
    platform::Point point{EvaluateNumber(slots.P(1), 0), EvaluateNumber(slots.P(2), 0)};
    platform::WindowHit hit = windows.window_system.WindowAt(point);
    for (int index = 0; index < windows.high_water && hit.window && !hit.child_control; ++index)
      if (windows.at(index) && windows.at(index)->native == hit.window) return NumberText(index);
    return window_commands::kDone;
  }
  return std::nullopt;
}

}  // namespace

Result WindowFamily(Engine& engine) {
  if (!engine.windows) return Unknown(engine);
  EngineWindows& windows = *engine.windows;
  if (std::optional<Result> result = GlobalCommand(engine, windows)) return *result;

  int index = ResolveWindowIndex(windows, engine.slots.K(2));
  if (index < 0) {
    ReportError(engine, message::kInvalidWindowIndex);
    return kNoResult;
  }
  window_commands::Target target{engine, windows, *windows.at(index), index};
  if (engine.slots.K(3) == "create") return window_commands::CreateWindowCommand(engine, &engine.slots.K(2));
  // Each group answers for its own words; a word none knows is unknown.
  for (auto group : {window_commands::LookCommand, window_commands::GeometryCommand, window_commands::OrderCommand,
                     window_commands::ShapeCommand, window_commands::DesktopBarCommand})
    if (window_commands::Handled result = group(target)) return *result;
  return Unknown(engine);
}

}  // namespace ixo
