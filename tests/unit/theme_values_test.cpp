#include "theme/theme_values.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ParseHexColor, ReadsDigitsAfterPrefixInEitherCase) {
    EXPECT_EQ(ParseHexColor("0xFF00FF"), 0x00FF00FFu);
    EXPECT_EQ(ParseHexColor("0x0000FF"), 0x000000FFu);
    EXPECT_EQ(ParseHexColor("0x00ff00"), ParseHexColor("0x00FF00"));
    EXPECT_EQ(ParseHexColor("##aBcDeF"), 0x00ABCDEFu);  // the prefix is not checked
}

TEST(ParseHexColor, MalformedTextIsBounded) {
    EXPECT_EQ(ParseHexColor(""), 0u);
    EXPECT_EQ(ParseHexColor("0"), 0u);
    EXPECT_EQ(ParseHexColor("0x"), 0u);
    EXPECT_EQ(ParseHexColor("0x12G4"), 0x12u);
    EXPECT_EQ(ParseHexColor("0x123456789"), 0x23456789u);  // 32-bit wrap
}

TEST(ThemeAtoi, FollowsAtoiAndSaturates) {
    EXPECT_EQ(ThemeAtoi(" \t+42px"), 42);
    EXPECT_EQ(ThemeAtoi("-7"), -7);
    EXPECT_EQ(ThemeAtoi("abc"), 0);
    EXPECT_EQ(ThemeAtoi(""), 0);
    EXPECT_EQ(ThemeAtoi("- 5"), 0);
    EXPECT_EQ(ThemeAtoi("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ThemeAtoi("-2147483648"), INT_MIN);
    EXPECT_EQ(ThemeAtoi("-99999999999"), INT_MIN);
}

TEST(ThemeLayout, ClampKeepsNormalValuesAndBoundsAbsurdOnes) {
    ThemeLayout normal{32, 5, 4, 3, 10, 12};
    ThemeLayout kept = ClampThemeLayout(normal);
    EXPECT_EQ(kept.IconSize, 32);
    EXPECT_EQ(kept.XButton, 4);
    EXPECT_EQ(kept.Y, 12);

    ThemeLayout huge = ClampThemeLayout({INT_MAX, INT_MAX, 1000000, -3, INT_MIN, INT_MAX});
    EXPECT_EQ(huge.IconSize, ThemeLimits::kMaxIconSize);
    EXPECT_EQ(huge.ButtonSpace, ThemeLimits::kMaxButtonSpace);
    EXPECT_EQ(huge.XButton, ThemeLimits::kMaxButtons);
    EXPECT_EQ(huge.YButton, ThemeLimits::kMinButtons);
    EXPECT_EQ(huge.X, ThemeLimits::kMinPosition);
    EXPECT_EQ(huge.Y, ThemeLimits::kMaxPosition);
}
