// The poll timer: every 5 ms it samples the pointer once for all windows, reports
// global clicks, mouse enter and exit, and raises "load" for the main window.
// It runs only while some window has a handler for what it reports, so an
// object without such handlers costs nothing while idle.
#pragma once

namespace ixo {

class EngineWindows;

inline constexpr unsigned kPollIntervalMs = 5;

void PollTick(EngineWindows& windows);

// Decides again which windows need the poll timer, and starts or stops it. Call
// after a window is created or closed, its group changes, or "load" was raised.
void UpdatePolling(EngineWindows& windows);

}  // namespace ixo
