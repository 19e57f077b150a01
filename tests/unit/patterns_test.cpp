#include "text/patterns.h"

#include <gtest/gtest.h>

namespace {

bool Matches(const std::string& text, const std::string& pattern) {
    return MatchesAny(text, {pattern});
}

}  // namespace

TEST(IgnoreRules, ExactPrefixSuffixAndContains) {
    EXPECT_TRUE(Matches("Notepad", "Notepad"));
    EXPECT_FALSE(Matches("notepad", "Notepad"));
    EXPECT_FALSE(Matches("Notepad2", "Notepad"));
    EXPECT_TRUE(Matches("Notepad", "Note*"));
    EXPECT_FALSE(Matches("No", "Note*"));
    EXPECT_TRUE(Matches("Notepad", "*pad"));
    EXPECT_FALSE(Matches("ad", "*pad"));
    EXPECT_TRUE(Matches("Notepad", "*ote*"));
    EXPECT_FALSE(Matches("Notepad", "*tep"));
    EXPECT_TRUE(Matches("a*b", "a*b"));  // an inner star is an ordinary character
    EXPECT_FALSE(Matches("axb", "a*b"));
}

TEST(IgnoreRules, StarOnlyPatternsMatchEveryNonEmptyText) {
    EXPECT_TRUE(Matches("anything", "*"));
    EXPECT_TRUE(Matches("anything", "**"));
    EXPECT_FALSE(Matches("", "*"));
    EXPECT_FALSE(Matches("", ""));
    EXPECT_FALSE(MatchesAny("Notepad", {}));
}

TEST(IgnoreRules, FirstMatchingPatternWinsAndEachPatternHasItsOwnMode) {
    EXPECT_FALSE(MatchesAny("123xyz", {"*abc", "xyz"}));
    EXPECT_TRUE(MatchesAny("123xyz", {"", "*abc", "*xyz"}));
}

TEST(IgnoreRules, NonAsciiTexts) {
    EXPECT_FALSE(Matches("表x", "*\\x*"));
    EXPECT_TRUE(Matches("表\\x", "*\\x*"));
    EXPECT_TRUE(Matches("メモ帳 - 無題", "*メモ帳*"));
    EXPECT_FALSE(Matches("Café", "Cafe*"));
}
