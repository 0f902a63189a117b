#include "platform/virtual_keys.h"
#include "tests/window/window_test.h"

namespace ixo {
namespace {

using Events = std::vector<std::string>;
namespace vk = platform::vk;

class KeyboardTest : public WindowTest {
 protected:
  void StartFocused(const std::string& extra = "") {
    Start(Handlers({"keyboard:down", "keyboard:press", "keyboard:up", "unload"}) + extra);
    desktop().SetFocus(window(0).native);
    ClearEvents();
  }
};

TEST_F(KeyboardTest, AHeldKeyIsReportedOnceAndASecondKeyAgain) {
  StartFocused();
  desktop().PressKey('A', 'a');
  desktop().PressKey('A', 'a');  // the keyboard repeats the held key
  desktop().PressKey('B');
  desktop().ReleaseKey('B');
  desktop().ReleaseKey('A');
  EXPECT_EQ(events(), (Events{"keyboard:down", "keyboard:press", "keyboard:press", "keyboard:down", "keyboard:up",
                              "keyboard:up"}));
}

TEST_F(KeyboardTest, TheFamilyReadsTheLastKeyOfAWindow) {
  StartFocused();
  desktop().PressKey('Q', 'q');
  EXPECT_EQ(Command({"keyboard", "main", "code"}, {}), "81");
  EXPECT_EQ(Command({"keyboard", "0", "char"}, {}), "q");
  desktop().ReleaseKey('Q');
  EXPECT_EQ(Command({"keyboard", "main", "char"}, {}), std::string(1, '\0'));
  EXPECT_EQ(Command({"keyboard", "main", "code"}, {}), "81");
}

TEST_F(KeyboardTest, KeyStateFollowsThePhysicalKeys) {
  StartFocused();
  EXPECT_EQ(Command({"keyboard", "keystate"}, {"16"}), "0");
  desktop().PressKey(vk::kLeftShift);
  EXPECT_EQ(Command({"keyboard", "keystate"}, {"16"}), "1") << "either shift key is shift";
  desktop().ReleaseKey(vk::kLeftShift);
  EXPECT_EQ(Command({"keyboard", "keystate"}, {"16"}), "0");
}

TEST_F(KeyboardTest, EscapeClosesAWindowThatAllowsIt) {
  StartFocused();
  CreateWindow(3, {300, 300, 40, 40});
  window(3).close_on_escape = true;
  desktop().SetFocus(window(3).native);
  ClearEvents();
  desktop().PressKey(vk::kEscape);
  EXPECT_EQ(windows().at(3), nullptr);
  EXPECT_EQ(events(), (Events{"unload@3", "keyboard:down@3"}));
}

TEST_F(KeyboardTest, EscapeOnTheMainWindowEndsTheObject) {
  StartFocused("event.terminate()\n  &ended = s(yes)\nevent.end()\n");
  desktop().PressKey(vk::kEscape);
  EXPECT_EQ(Var("ended"), "yes");
  EXPECT_TRUE(engine().context.shutting_down);
}

TEST_F(KeyboardTest, BadWindowReferencesAreReported) {
  StartFocused();
  EXPECT_FALSE(Command({"keyboard", "9", "code"}, {}));
  EXPECT_FALSE(Command({"keyboard", "main", "shift"}, {}));
  ASSERT_EQ(reports().size(), 2u);
  EXPECT_NE(reports()[0].find("The window index is invalid."), std::string::npos);
  EXPECT_NE(reports()[1].find("Unknown or incomplete command : "), std::string::npos);
}

}  // namespace
}  // namespace ixo
