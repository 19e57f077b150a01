#include "settings/mbcs.h"

#include <gtest/gtest.h>

// 表 and ソ end in 0x5C ('\\'), 能 too; a byte search would find '\\' inside them.
TEST(Mbcs, TrailBytesNeverStartAMatch) {
    const std::string text = "表ソ\\x";
    ASSERT_EQ(text.size(), 6u);
    EXPECT_EQ(FindCharMbcs(text, '\\'), 4u);
    EXPECT_EQ(FindMbcs(text, "\\x"), 4u);
    EXPECT_EQ(FindMbcs("表", "\\"), std::string::npos);
    EXPECT_EQ(FindMbcs("表示", "示"), 2u);
    EXPECT_EQ(FindMbcs("abcabc", "c", 3), 5u);
    EXPECT_EQ(FindMbcs("abc", "", 1), 1u);
    EXPECT_EQ(FindMbcs("abc", "x", 9), std::string::npos);
}

TEST(Mbcs, LeadByteAtEndCountsAsOneByte) {
    const std::string text = "a\x95";
    EXPECT_EQ(NextCharPos(text, 1), 2u);
    EXPECT_EQ(NextCharPos(text, 5), 2u);
    EXPECT_TRUE(IsLeadByte(0x81));
    EXPECT_TRUE(IsLeadByte(0xFC));
    EXPECT_FALSE(IsLeadByte(0xA0));  // half-width katakana are single bytes
    EXPECT_FALSE(IsLeadByte(0x5C));
}
