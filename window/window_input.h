// What an engine window does with the pointer and the keyboard: dragging, clicks,
// keys and closing by Escape or right click. Positions are client coordinates.
#pragma once

#include "platform/geometry.h"
#include "platform/input_state.h"

namespace ixo {

class EngineWindows;

// A drag moves the window only once the button has been down this long.
inline constexpr uint32_t kDragDelayMs = 180;

void HandleMouseDown(EngineWindows& windows, int index, platform::MouseButton button, platform::Point position);
void HandleMouseMove(EngineWindows& windows, int index, platform::Point position);
void HandleMouseUp(EngineWindows& windows, int index, platform::MouseButton button, platform::Point position);
void HandleDoubleClick(EngineWindows& windows, int index);
void HandleWheel(EngineWindows& windows, int index, bool up);

void HandleKeyDown(EngineWindows& windows, int index, int virtual_key);
void HandleKeyPress(EngineWindows& windows, int index, unsigned char character);
void HandleKeyUp(EngineWindows& windows, int index, int virtual_key);

// Closing by the user's gesture: the main window ends the object, others unload.
void CloseByUser(EngineWindows& windows, int index);

}  // namespace ixo
