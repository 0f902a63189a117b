// Script errors and the engine's own messages.
#pragma once

#include <string>
#include <string_view>

#include "platform/message_box.h"

namespace ixo {

class Engine;

// Builds the report of a script error from the command slots and the execution
// context, stores it as the last error text and raises "error" (queued). Silent
// while "_initialize" runs and while error reporting is switched off.
void ReportError(Engine& engine, std::string_view message);

// The report text alone, with token bytes shown as source characters.
std::string BuildErrorReport(const Engine& engine, std::string_view message);

// Shows one of the engine's own messages; "#" stands for a line break.
int EngineMessageBox(Engine& engine, std::string_view text,
                     unsigned style = platform::kEngineMessageStyle);

}  // namespace ixo
