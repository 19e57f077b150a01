#include "items/hotkey_rules.h"

#include <gtest/gtest.h>

TEST(HotkeyRules, ModifierTableIgnoresExtendedFlag) {
    const unsigned expected[16] = {0, 4, 2, 6, 1, 5, 3, 0, 0, 4, 2, 6, 1, 5, 3, 0};
    for (unsigned flags = 0; flags < 16; ++flags)
        EXPECT_EQ(HotkeyModifiers(flags), expected[flags]) << "flags " << flags;
    EXPECT_EQ(HotkeyModifiers(0x11), 0u);
}

TEST(HotkeyRules, SplitsSetting) {
    EXPECT_EQ(HotkeyVirtualKey(0x451), static_cast<unsigned>('Q'));
    EXPECT_EQ(HotkeyModifiers(HotkeyFlagByte(0x451)), kModAlt);
    EXPECT_EQ(HotkeyModifiers(HotkeyFlagByte(0x774)), 0u);  // Ctrl+Shift+Alt+F5 registers bare F5
    EXPECT_EQ(HotkeyVirtualKey(0x774), 0x74u);
}
