// The two text forms that every family uses for its results.
#pragma once

#include <cstdint>
#include <string>

namespace ixo {

inline std::string NumberText(int32_t value) { return std::to_string(value); }
inline std::string FlagText(bool value) { return value ? "1" : "0"; }

}  // namespace ixo
