// Saving the settings to the real registry: the end state is what deleting every numbered
// value and writing the lists afresh would give, and a save killed at any moment loses no item.
#include "framework/registry_profile.h"
#include "settings/settings_record.h"
#include "support/own_paths.h"
#include "support/registry_read.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <random>
#include <set>

namespace {

constexpr char kCompany[] = "KvSaveTest";
constexpr char kItemsKey[] = "Software\\KvSaveTest\\Kestrovar\\Path Name";

using kvtest::ReadRegistrySection;

class ProfileSaveTest : public ::testing::Test {
protected:
    void SetUp() override { SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\KvSaveTest"); }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\KvSaveTest"); }
};

TEST_F(ProfileSaveTest, EndStateEqualsDeletingEveryNumberedValueThenWriting) {
    RegistryProfile profile(kCompany, "Kestrovar");
    std::mt19937 random(7);
    for (int i = 0; i < 300; ++i)
        profile.WriteString("Path Name", "Button" + std::to_string(random() % 10002), "old" + std::to_string(i) + "*x");
    profile.WriteInt("Path Name", "Button17", 5);  // a value of the wrong type
    profile.WriteString("Path Name", "NotAButton", "kept");

    KestrovarOptions options;
    options.Items.SetItem(3, "a", "C:\\a.exe");
    options.Items.SetItem(17, "b", "C:\\b.exe");
    options.Items.SetItem(9000, "c", "C:\\c.exe");
    SaveOptions(options, profile);

    std::map<std::string, std::string> expected = {
        {"Button3", "a*C:\\a.exe"}, {"Button17", "b*C:\\b.exe"}, {"Button9000", "c*C:\\c.exe"}, {"NotAButton", "kept"}};
    std::map<std::string, std::string> actual = ReadRegistrySection(kItemsKey);
    if (actual.count("Button10001"))  // outside the numbered range: left alone like any other value
        expected["Button10001"] = actual["Button10001"];
    EXPECT_EQ(expected, actual);
}

TEST_F(ProfileSaveTest, KillingASaveAtRandomMomentsNeverLosesAnItem) {
    // A complete save first: from then on every item is in the profile, and no kill may lose one.
    RegistryProfile profile(kCompany, "Kestrovar");
    for (int n = 0; n < 200; ++n)
        profile.WriteString("Path Name", "Button" + std::to_string(n),
                            "tip" + std::to_string(n) + "*C:\\prog" + std::to_string(n) + ".exe");
    std::mt19937 random(99);
    for (int round = 0; round < 25; ++round) {
        ASSERT_TRUE(kvtest::RunToolAndKillAfter("kvsaveloop.exe", kCompany, 50 + random() % 400));

        std::set<std::string> stored;
        for (const auto& [name, value] : ReadRegistrySection(kItemsKey))
            stored.insert(value);
        for (int n = 0; n < 200; ++n) {
            std::string text = "tip" + std::to_string(n) + "*C:\\prog" + std::to_string(n) + ".exe";
            EXPECT_TRUE(stored.count(text)) << "round " << round << " lost " << text;
        }
    }
}

}  // namespace
