// The registry profile against the real registry under Wine.
#include "framework/registry_profile.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>

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
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\KvTestCompany\\KvTestApp\\Status", 0,
                                           KEY_READ, &key));
    DWORD type = 0;
    RegQueryValueExA(key, "Count", nullptr, &type, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
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
    std::string tooLong(RegistryProfile::kMaxStringBytes + 10, 'y');
    profile.WriteString("Path Name", "Button2", tooLong);
    EXPECT_EQ("", profile.GetString("Path Name", "Button2", ""));
}

}  // namespace
