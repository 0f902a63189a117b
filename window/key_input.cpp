#include "platform/virtual_keys.h"
#include "window/engine_windows.h"
#include "window/window_events.h"
#include "window/window_input.h"

namespace ixo {

void HandleKeyDown(EngineWindows& windows, int index, int virtual_key) {
  EngineWindow* window = windows.at(index);
  if (!window) return;
  if (window->close_on_escape && windows.input.IsKeyDown(platform::vk::kEscape)) {
    CloseByUser(windows, index);
    window = windows.at(index);
  }
  // The window may be gone; its index still hears about the key.
  if (window) {
    if (window->key_held && virtual_key == window->key_code) return;  // auto-repeat of the held key
    window->key_code = virtual_key;
    window->key_character = 0;
    window->key_held = true;
  }
  RaiseWindowEvent(windows, "keyboard:down", index);
}

void HandleKeyPress(EngineWindows& windows, int index, unsigned char character) {
  EngineWindow* window = windows.at(index);
  if (!window) return;
  window->key_character = character;
  RaiseWindowEvent(windows, "keyboard:press", index);
}

void HandleKeyUp(EngineWindows& windows, int index, int) {
  EngineWindow* window = windows.at(index);
  if (!window) return;
  window->key_held = false;
  window->key_character = 0;
  RaiseWindowEvent(windows, "keyboard:up", index);
}

}  // namespace ixo
