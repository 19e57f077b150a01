// The registry profile against the real registry under Wine.
#include "framework/registry_profile.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "text/unicode.h"

namespace {

class RegistryProfileTest : public ::testing::Test {
protected:
    void SetUp() override { SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\KvTestCompany"); }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\KvTestCompany"); }
    RegistryProfile profile{"KvTestCompany", "KvTestApp"};
};

TEST_F(RegistryProfileTest, ValuesRoundTripUnderTheCompanyAndApplicationKey) {
    profile.WriteInt("Status", "Count", -7);
    profile.WriteString("Design", "Theme", "デフォルト");
    RegistryProfile reopened("KvTestCompany", "KvTestApp");
    EXPECT_EQ(-7, reopened.GetInt("Status", "Count", 0));
    EXPECT_EQ("デフォルト", reopened.GetString("Design", "Theme", ""));

    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\KvTestCompany\\KvTestApp\\Status", 0, KEY_READ, &key));
    DWORD type = 0;
    RegQueryValueExA(key, "Count", nullptr, &type, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
}

// The runs under each code page are what they say.
TEST(CodePage, IsTheOneTheRunAsksFor) {
    const char* expected = std::getenv("KV_EXPECT_ACP");
    if (!expected)
        GTEST_SKIP() << "KV_EXPECT_ACP is not set";
    EXPECT_EQ(std::strtoul(expected, nullptr, 10), GetACP());
}

// The registry keeps UTF-16: what a program of the ANSI functions wrote on a system of code page
// 932 reads the same through the program, and what the program writes is stored as its text.
TEST_F(RegistryProfileTest, TextsWrittenThroughTheCodePageOf932ReadTheSame) {
    const std::string item = "メモ帳*C:\\データ\\表\\x.exe";
    profile.WriteString("Path Name", "Button1", item + " 😀");
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\KvTestCompany\\KvTestApp\\Path Name", 0,
                                           KEY_READ | KEY_WRITE, &key));
    wchar_t stored[64] = {};
    DWORD bytes = sizeof(stored) - sizeof(wchar_t);
    RegQueryValueExW(key, L"Button1", nullptr, nullptr, reinterpret_cast<BYTE*>(stored), &bytes);
    EXPECT_EQ(Wide(item + " 😀"), stored);
    if (GetACP() == 932) {
        // The same item in code page 932: 表 is 95 5C, whose second byte is a backslash.
        const char ansi[] = "\x83\x81\x83\x82\x92\xA0*C:\\\x83\x66\x81\x5B\x83\x5E\\\x95\x5C\\x.exe";
        RegSetValueExA(key, "Button2", 0, REG_SZ, reinterpret_cast<const BYTE*>(ansi), sizeof(ansi));
    }
    RegCloseKey(key);
    if (GetACP() == 932)
        EXPECT_EQ(item, RegistryProfile("KvTestCompany", "KvTestApp").GetString("Path Name", "Button2", ""));
}

TEST_F(RegistryProfileTest, AbsentValuesAndValuesOfAnotherTypeGiveTheDefault) {
    EXPECT_EQ(5, profile.GetInt("Status", "Missing", 5));
    EXPECT_EQ("x", profile.GetString("Status", "Missing", "x"));
    profile.WriteString("Status", "Number", "12");
    profile.WriteInt("Status", "Text", 3);
    EXPECT_EQ(9, profile.GetInt("Status", "Number", 9));
    EXPECT_EQ("d", profile.GetString("Status", "Text", "d"));
}

TEST_F(RegistryProfileTest, DeleteRemovesOneValueAndValueNamesListsTheRest) {
    profile.WriteString("Path Name", "Button0", "a*b");
    profile.WriteString("Path Name", "Button7", "c*d");
    profile.DeleteValue("Path Name", "Button0");
    profile.DeleteValue("Path Name", "Button99");  // absent: nothing happens
    std::vector<std::string> names = profile.ValueNames("Path Name");
    EXPECT_EQ(std::vector<std::string>{"Button7"}, names);
    EXPECT_TRUE(profile.ValueNames("Nothing").empty());
}

TEST_F(RegistryProfileTest, LongStringsRoundTripAndOverLongOnesReadAsAbsent) {
    std::string long100k(100 * 1024, 'x');
    profile.WriteString("Path Name", "Button1", long100k);
    EXPECT_EQ(long100k, profile.GetString("Path Name", "Button1", ""));
    std::string tooLong(RegistryProfile::kMaxStringUnits + 10, 'y');
    profile.WriteString("Path Name", "Button2", tooLong);
    EXPECT_EQ("", profile.GetString("Path Name", "Button2", ""));
}

}  // namespace

namespace {

using Section = std::map<std::string, std::string>;

// Another program's write: straight into the registry, past the profile object.
void WriteFromOutside(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\KvTestCompany\\KvTestApp\\Path Name", 0,
                                             nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void WriteStringFromOutside(const char* name, const std::string& text) {
    WriteFromOutside(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

}  // namespace

// One read gives each value as GetString would: strings cut at their first NUL, values of other
// types and over-long strings with an empty text, so their names are still known.
TEST_F(RegistryProfileTest, ReadSectionGivesEveryValueAsGetStringWould) {
    profile.WriteString("Path Name", "Button0", "メモ帳*C:\\windows\\notepad.exe");
    profile.WriteInt("Path Name", "Button1", 5);
    profile.WriteString("Path Name", "Button2", std::string(RegistryProfile::kMaxStringUnits + 10, 'y'));
    const std::string big(100 * 1024, 'x');
    profile.WriteString("Path Name", "Button3", big);
    const char withNul[] = "a*b\0tail";
    WriteFromOutside("Button4", REG_SZ, withNul, sizeof(withNul));
    RegistryProfile reader("KvTestCompany", "KvTestApp");
    const Section expected = {{"Button0", "メモ帳*C:\\windows\\notepad.exe"},
                              {"Button1", ""},
                              {"Button2", ""},
                              {"Button3", big},
                              {"Button4", "a*b"}};
    EXPECT_EQ(expected, reader.ReadSection("Path Name"));
    EXPECT_TRUE(reader.ReadSection("Nothing").empty());
}

// The kept copy answers only while nobody else changed the section: another program's new
// value, changed text of the same length, or deletion is seen at the next read; the profile's
// own writes and deletions are part of what it answers.
TEST_F(RegistryProfileTest, ReadSectionSeesEveryChangeMadeSinceTheLastRead) {
    profile.WriteString("Path Name", "Button0", "a*b");
    profile.WriteString("Path Name", "Button1", "c*d");
    EXPECT_EQ((Section{{"Button0", "a*b"}, {"Button1", "c*d"}}), profile.ReadSection("Path Name"));

    WriteStringFromOutside("Button1", "x*y");
    EXPECT_EQ((Section{{"Button0", "a*b"}, {"Button1", "x*y"}}), profile.ReadSection("Path Name"));
    WriteStringFromOutside("Button9", "new*one");
    EXPECT_EQ(3u, profile.ReadSection("Path Name").size());
    RegistryProfile other("KvTestCompany", "KvTestApp");
    other.DeleteValue("Path Name", "Button9");
    EXPECT_EQ(2u, profile.ReadSection("Path Name").size());

    profile.WriteString("Path Name", "Button5", "e*f");
    profile.DeleteValue("Path Name", "Button0");
    profile.WriteInt("Path Name", "Button1", 3);
    EXPECT_EQ((Section{{"Button1", ""}, {"Button5", "e*f"}}), profile.ReadSection("Path Name"));
    EXPECT_EQ((Section{{"Button1", ""}, {"Button5", "e*f"}}), other.ReadSection("Path Name"));

    // A write under another case of a stored name changes that value.
    profile.WriteString("Path Name", "BUTTON5", "g*h");
    EXPECT_EQ((Section{{"Button1", ""}, {"Button5", "g*h"}}), profile.ReadSection("Path Name"));
}
