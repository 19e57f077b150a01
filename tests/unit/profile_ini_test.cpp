#include "text/profile_ini.h"

#include <gtest/gtest.h>

namespace {

ProfileValue Text(std::string text) {
    ProfileValue value;
    value.text = std::move(text);
    return value;
}

ProfileValue Number(int number) {
    ProfileValue value;
    value.isNumber = true;
    value.number = number;
    return value;
}

}  // namespace

// Every name and value comes back exactly, however awkward, and plain ones stay readable.
TEST(ProfileIni, EveryValueRoundTrips) {
    const struct {
        std::string name;
        ProfileValue value;
        std::string line;  // as written, empty: not checked
    } cases[] = {
        {"Button0", Text("メモ帳*C:\\windows\\notepad.exe"), "Button0=メモ帳*C:\\windows\\notepad.exe"},
        {"Col", Number(4), "Col=4"},
        {"Min", Number(-2147483647 - 1), "Min=-2147483648"},
        {"Max", Number(2147483647), ""},
        {"Digits", Text("123"), "Digits=\"123\""},
        {"Zeros", Text("007"), ""},
        {"Signed", Text("-5"), ""},
        {"Huge", Text("99999999999"), "Huge=99999999999"},
        {"Empty", Text(""), "Empty="},
        {"Blanks", Text("  two ends\t"), "Blanks=\"  two ends\\t\""},
        {"Lines", Text("a\r\nb\nc\rd"), "Lines=\"a\\r\\nb\\nc\\rd\""},
        {"Quote", Text("\"quoted\" and \\ slash"), "Quote=\"\\\"quoted\\\" and \\\\ slash\""},
        {"Inner", Text("a\"b=c;d"), "Inner=a\"b=c;d"},
        {"Control", Text(std::string("bell\x07\x7F")), "Control=\"bell\\x07\\x7F\""},
        {"Key=with equals", Text("v"), "\"Key=with equals\"=v"},
        {" spaced ", Number(1), "\" spaced \"=1"},
        {";semicolon", Text("x"), ""},
        {"[bracket", Text("x"), ""},
        {"\"quote", Text("x"), ""},
        {"", Text("default value"), "\"\"=default value"},
        {"new\nline", Text("x"), ""},
    };
    ProfileSections sections;
    for (const auto& c : cases)
        sections["Odd ] \"section\" "][c.name] = c.value;
    sections["Path Name"]["Button1"] = Text("x");
    const std::string text = FormatProfileIni(sections);
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    for (const auto& c : cases) {
        if (c.line.empty())
            continue;
        EXPECT_NE(text.find("\r\n" + c.line + "\r\n"), std::string::npos) << c.line;
    }
    const ProfileSections back = ParseProfileIni(text.substr(3));
    ASSERT_EQ(back.size(), 2u);
    const ProfileSection& odd = back.at("Odd ] \"section\" ");
    ASSERT_EQ(odd.size(), std::size(cases));
    for (const auto& c : cases) {
        ASSERT_TRUE(odd.count(c.name)) << c.name;
        EXPECT_TRUE(odd.at(c.name) == c.value) << c.name;
    }
}

// A file edited by hand: blanks, comments, other cases, duplicates and broken lines.
TEST(ProfileIni, ReadsHandEditedText) {
    const ProfileSections sections = ParseProfileIni(
        "orphan=1\n; comment\n  [ design ]  \r  Col = 04 \rTheme= 'single' \n"
        "no equals sign\nCOL=9\n[Design]\nRow=3\nbad=\"unclosed\n\"k=ey\"=\"v\" \n[unclosed\nIgnored=1\n");
    ASSERT_EQ(sections.size(), 1u);
    const ProfileSection& design = sections.at("DESIGN");
    EXPECT_TRUE(design.at("col") == Number(4));  // the first line of a name counts
    EXPECT_TRUE(design.at("Theme") == Text("'single'"));
    EXPECT_TRUE(design.at("Row") == Number(3));  // a repeated section adds to the first
    EXPECT_TRUE(design.at("bad") == Text("\"unclosed"));
    EXPECT_TRUE(design.at("k=ey") == Text("v"));
    EXPECT_EQ(design.count("Ignored"), 0u);
}

TEST(ProfileIni, NamesInNumberOrderAndCaseBlind) {
    const ProfileNameLess less;
    EXPECT_TRUE(less("Button2", "Button10"));
    EXPECT_FALSE(less("Button10", "Button2"));
    EXPECT_TRUE(less("Button1", "Button01"));  // differ, so they never merge into one
    EXPECT_FALSE(less("button7", "BUTTON7"));
    EXPECT_FALSE(less("BUTTON7", "button7"));
    EXPECT_TRUE(less("Button", "Button0"));
    EXPECT_TRUE(less("Button9", "ButtonA"));
}
