#include "system/ixo_home.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace ixo::system {

namespace {

bool IsSet(const char* value) { return value != nullptr && value[0] != '\0'; }

// HOME, or the password database's entry when a service started us without it.
const char* HomeFolder() {
  const char* home = std::getenv("HOME");
  if (IsSet(home)) return home;
  const passwd* entry = getpwuid(getuid());
  return entry != nullptr ? entry->pw_dir : nullptr;
}

}  // namespace

std::filesystem::path IxoHome() {
  return IxoHomeFrom(std::getenv("IXO_HOME"), std::getenv("XDG_CONFIG_HOME"), HomeFolder());
}

std::filesystem::path IxoHomeFrom(const char* ixo_home, const char* xdg_config_home, const char* home) {
  if (IsSet(ixo_home)) return ixo_home;
  // A relative XDG_CONFIG_HOME is invalid and must be ignored.
  if (IsSet(xdg_config_home) && xdg_config_home[0] == '/') return std::filesystem::path(xdg_config_home) / "zodizarez";
  return std::filesystem::path(IsSet(home) ? home : "") / ".config" / "zodizarez";
}

}  // namespace ixo::system
