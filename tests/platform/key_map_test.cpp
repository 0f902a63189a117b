#include "platform/desktop/key_map.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/virtual_keys.h"

namespace ixo::platform {
namespace {

TEST(KeyMapTest, KeysymsBecomeTheCodesScriptsKnow) {
  struct Case {
    uint32_t keysym;
    int virtual_key;
  };
  for (const Case& c : {Case{'a', 'A'}, Case{'z', 'Z'}, Case{'Q', 'Q'}, Case{'0', '0'}, Case{'9', '9'},
                        Case{0xffbe, vk::kF1}, Case{0xffc9, 0x7B},  // F1, F12
                        Case{0xffb0, vk::kNumpad0}, Case{0xffb9, 0x69}, Case{0xff1b, vk::kEscape},
                        Case{0xff0d, vk::kReturn}, Case{0xff8d, vk::kReturn}, Case{0xffe1, vk::kShift},
                        Case{0xffe2, vk::kShift}, Case{0xffe4, vk::kControl}, Case{0xff51, vk::kLeft},
                        Case{0xff96, vk::kLeft}, Case{0xffff, vk::kDelete}, Case{0x20, vk::kSpace},
                        Case{';', 0xBA}, Case{0xe9, 0}, Case{0x12345, 0}})
    EXPECT_EQ(VirtualKeyOfKeysym(c.keysym), c.virtual_key) << std::hex << c.keysym;
}

TEST(KeyMapTest, EveryKeyOfACodeCountsAsHeld) {
  const auto has = [](int virtual_key, uint32_t keysym) {
    std::vector<uint32_t> keysyms = KeysymsOfVirtualKey(virtual_key);
    return std::find(keysyms.begin(), keysyms.end(), keysym) != keysyms.end();
  };
  EXPECT_TRUE(has(vk::kShift, 0xffe1));
  EXPECT_TRUE(has(vk::kShift, 0xffe2));
  EXPECT_TRUE(has(vk::kLeftShift, 0xffe1));
  EXPECT_FALSE(has(vk::kLeftShift, 0xffe2));
  EXPECT_TRUE(has('A', 'a'));
  EXPECT_TRUE(has(vk::kF1, 0xffbe));
  EXPECT_TRUE(KeysymsOfVirtualKey(0xFF).empty());
  // Every code a keysym gives leads back to that keysym.
  for (uint32_t keysym : {uint32_t{'m'}, uint32_t{'5'}, 0xffc0u, 0xffb3u, 0xff55u, 0x2fu})
    EXPECT_TRUE(has(VirtualKeyOfKeysym(keysym), keysym)) << std::hex << keysym;
}

}  // namespace
}  // namespace ixo::platform
