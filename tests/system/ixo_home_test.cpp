#include <gtest/gtest.h>

#include "system/ixo_home.h"

namespace ixo::system {
namespace {

TEST(IxoHomeTest, FollowsIxoHomeThenXdgConfigHomeThenTheHomeFolder) {
  struct Case {
    const char* ixo_home;
    const char* xdg_config_home;
    const char* home;
    const char* expected;
  };
  const Case cases[] = {
      {"/srv/ixo", "/home/u/.cfg", "/home/u", "/srv/ixo"},
      {nullptr, "/home/u/.cfg", "/home/u", "/home/u/.cfg/zodizarez"},
      {"", "/home/u/.cfg", "/home/u", "/home/u/.cfg/zodizarez"},
      {nullptr, nullptr, "/home/u", "/home/u/.config/zodizarez"},
      {nullptr, "", "/home/u", "/home/u/.config/zodizarez"},
      // A relative XDG_CONFIG_HOME is not valid and is ignored.
      {nullptr, "relative/cfg", "/home/u", "/home/u/.config/zodizarez"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ixo_home ? c.ixo_home : "(unset)") + " " + (c.xdg_config_home ? c.xdg_config_home : "(unset)"));
    EXPECT_EQ(IxoHomeFrom(c.ixo_home, c.xdg_config_home, c.home), std::filesystem::path(c.expected));
  }
}

}  // namespace
}  // namespace ixo::system
