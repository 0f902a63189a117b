#include "graphics/window_position_store.h"

#include "graphics/window_commands.h"
#include "system/settings_store.h"

namespace ixo {

namespace {

constexpr system::Root kUserTree = system::Root::kCurrentUser;

std::string KeyOf(EngineWindows& windows, int index, const std::string& name) {
  const CurrentHeader& header = windows.engine.header;
  return WindowPositionKey(header.family_id, header.object_id, index, name);
}

}  // namespace

std::string WindowPositionKey(const std::string& family_id, const std::string& object_id, int index,
                              const std::string& name) {
  std::string key = "Software\\zodizarez\\" + family_id + "\\";
  if (!object_id.empty()) key += object_id + "\\";
  return key + "[Pos]\\" + (name.empty() ? std::to_string(index) : name) + "\\";
}

void SaveWindowPosition(EngineWindows& windows, int index, const std::string& name) {
  system::SettingsStore* store = windows.engine.platform.settings;
  EngineWindow* window = windows.at(index);
  if (!store || !window) return;
  window_commands::Target target{windows.engine, windows, *window, index};
  platform::Rect outer = window_commands::OuterRect(target);
  if (outer.width == 0 || outer.height == 0) return;
  const std::string key = KeyOf(windows, index, name);
  store->WriteInteger(kUserTree, key, "Top", outer.top);
  store->WriteInteger(kUserTree, key, "Left", outer.left);
  store->WriteInteger(kUserTree, key, "Width", outer.width);
  store->WriteInteger(kUserTree, key, "Height", outer.height);
}

bool LoadWindowPosition(EngineWindows& windows, int index, const std::string& name) {
  system::SettingsStore* store = windows.engine.platform.settings;
  EngineWindow* window = windows.at(index);
  if (!store || !window) return false;
  const std::string key = KeyOf(windows, index, name);
  if (!store->OpenKey(kUserTree, key, false)) return false;
  std::optional<int32_t> left = store->ReadInteger(kUserTree, key, "Left");
  std::optional<int32_t> top = store->ReadInteger(kUserTree, key, "Top");
  std::optional<int32_t> width = store->ReadInteger(kUserTree, key, "Width");
  std::optional<int32_t> height = store->ReadInteger(kUserTree, key, "Height");
  if (!left || !top || !width || !height || *width == 0 || *height == 0) return false;
  window_commands::Target target{windows.engine, windows, *window, index};
  window_commands::SetOuterRect(target, {*left, *top, *width, *height});
  window->stored_x = static_cast<float>(int64_t{*left} * 100);
  window->stored_y = static_cast<float>(int64_t{*top} * 100);
  return true;
}

}  // namespace ixo
