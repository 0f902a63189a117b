// The folder where the engine keeps what it stores for the user (the settings
// store, the semaphore files). IXO_HOME points it elsewhere, which tests use.
#pragma once

#include <filesystem>

namespace ixo::system {

// From this process's environment; the folder may not exist yet.
std::filesystem::path IxoHome();

// The rule itself. Each argument is an environment value, null or empty when
// unset: IXO_HOME when set, otherwise "zodizarez" in XDG_CONFIG_HOME when that
// is an absolute path, otherwise "zodizarez" in the home folder's ".config".
std::filesystem::path IxoHomeFrom(const char* ixo_home, const char* xdg_config_home, const char* home);

}  // namespace ixo::system
