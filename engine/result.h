// What a command hands back: a text owned by the receiver, or "no result",
// which is distinct from the empty text but is spliced into a line as "".
#pragma once

#include <optional>
#include <string>

namespace ixo {

using Result = std::optional<std::string>;

inline constexpr std::nullopt_t kNoResult = std::nullopt;

}  // namespace ixo
