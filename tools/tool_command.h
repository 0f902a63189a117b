// What every sub-command of the ixo tool shares.
#pragma once

#include <string_view>
#include <vector>

namespace ixo::tool {

inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// The arguments after the sub-command's name.
using Arguments = std::vector<std::string_view>;

}  // namespace ixo::tool
