// The interpreter's own message texts, exactly as scripts and users see them.
#pragma once

namespace ixo::message {

inline constexpr const char* kBadCondition =
    "Cannot evaluate conditional expression. Check syntaxe and parenthesis.";
inline constexpr const char* kSyntax = "An error has occured. Check syntaxe for the following line : ";
inline constexpr const char* kUnknownKeyword = "Unknown keyword or function call.";
inline constexpr const char* kUnknownCommand = "Unknown or incomplete command : ";
inline constexpr const char* kEndOfCode = "Code structure error : end of code found before end of event.";
inline constexpr const char* kLineTooLong = "The line grew past the size of the work buffer.";
inline constexpr const char* kEndlessExpansion =
    "The nested expressions of this line never end: a value expands into itself.";
inline constexpr const char* kInvalidIndex =
    "Invalid variable index, index out of bound or unknown variable command.";
inline constexpr const char* kInvalidWindowIndex = "The window index is invalid.";
inline constexpr const char* kInvalidDynamicName = "Invalid dynamic name. Dynamic naming variable does not exists.";

}  // namespace ixo::message
