// What engine windows do with the window system's notifications other than
// input: moves, sizes, activation, close requests, private messages, and the
// notifications that concern the whole application.
#pragma once

#include <cstdint>
#include <string_view>

namespace ixo {

class EngineWindows;

void HandleCloseRequest(EngineWindows& windows, int index);
void HandleMoved(EngineWindows& windows, int index);
void HandleResized(EngineWindows& windows, int index);
void HandleActivation(EngineWindows& windows, int index, bool active);
void HandlePrivateMessage(EngineWindows& windows, int index, uint32_t number, uint64_t first, uint64_t second);

void HandleApplicationActivation(EngineWindows& windows, bool active);
void HandleMinimize(EngineWindows& windows);
void HandleRestore(EngineWindows& windows);
// Returns whether the session may end.
bool HandleShutdownQuery(EngineWindows& windows);
void HandleShutdown(EngineWindows& windows);
void HandleWorkAreaChanged(EngineWindows& windows);
void HandleDisplayChanged(EngineWindows& windows);
// An error escaped a handler: it becomes the last error and the script hears of it.
void HandleException(EngineWindows& windows, std::string_view message);

}  // namespace ixo
