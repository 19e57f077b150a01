#include "settings/settings_record.h"

#include <gtest/gtest.h>

#include "memory_profile.h"

namespace {

// Log entries of one kind ("GetInt", "WriteInt", ...) in order, without the operation name.
std::vector<std::string> Entries(const MemoryProfile& profile, const std::string& operation) {
    std::vector<std::string> entries;
    for (const std::string& entry : profile.log()) {
        if (entry.compare(0, operation.size() + 1, operation + " ") == 0)
            entries.push_back(entry.substr(operation.size() + 1));
    }
    return entries;
}

}  // namespace

TEST(SettingsRecord, EmptyProfileGivesDefaults) {
    MemoryProfile profile;
    KestrovarOptions o;
    LoadOptions(o, profile);
    EXPECT_EQ(o.SkinMode, 0);
    EXPECT_EQ(o.Theme, "デフォルト");
    EXPECT_NE(o.Theme, kPlainThemeName);
    EXPECT_EQ(o.HotkeyShow, 1105);
    EXPECT_EQ(o.HotkeyNext, 1111);
    EXPECT_EQ(o.HotkeyPrev, 1093);
    EXPECT_EQ(o.WheelClickTrigger, 1);
    EXPECT_EQ(o.HideOption, 1);
    EXPECT_EQ(o.ShowTaskTrayIcon, 1);
    EXPECT_EQ(o.IconSize, 16);
    EXPECT_EQ(o.ButtonWidth, 22);
    EXPECT_EQ(o.Col, 6);
    EXPECT_EQ(o.Row, 2);
    EXPECT_EQ(o.WindowTPValue, 255);
    EXPECT_EQ(o.ColorKey, 0xFFFFFFFFu);
    EXPECT_TRUE(o.Items.empty());
    EXPECT_TRUE(o.IgnoredClassNames.empty());
}

TEST(SettingsRecord, LoadReadsInOrderAndUsesStoredValues) {
    MemoryProfile profile;
    profile.Set("Status", "ShowTaskTrayIcon", 0);
    profile.Set("Design", "Col", 4);
    profile.Set("Design", "Theme", std::string("Blue"));
    KestrovarOptions o;
    LoadOptions(o, profile);
    EXPECT_EQ(o.ShowTaskTrayIcon, 0);
    EXPECT_EQ(o.Col, 4);
    EXPECT_EQ(o.Theme, "Blue");

    const std::vector<std::string> ints = Entries(profile, "GetInt");
    EXPECT_EQ(ints, (std::vector<std::string>{"Status/MemoryPage", "Status/WheelClickLock", "Status/WheelClickTrigger",
                                              "Status/WheelClickSelect", "Status/HideOption", "Status/HotkeyShow",
                                              "Status/HotkeyNext", "Status/HotkeyPrev", "Status/ShowTaskTrayIcon",
                                              "Status/DoubleClick", "Design/IconSize", "Design/ButtonSpace",
                                              "Design/ButtonWidth", "Design/ButtonHeight", "Design/Col", "Design/Row",
                                              "Design/WindowTPValue", "Design/SkinMode"}));
    EXPECT_EQ(Entries(profile, "GetString"), std::vector<std::string>{"Design/Theme"});
    // The numbered lists come from one read of their section each, not from 12,003 probes.
    EXPECT_EQ(Entries(profile, "ReadSection"), (std::vector<std::string>{"Path Name/", "Filter/", "Filter/"}));
}

// Reading a section finds what probing every name from the highest index down would: names in
// any ASCII case, in descending index order, nothing outside the range or with leading zeros,
// no empty or non-string values.
TEST(SettingsRecord, NameListsFromOneReadMatchProbing) {
    MemoryProfile profile;
    profile.SetStrings("Filter", {{"ClassName0", "zero"},
                                  {"CLASSNAME12", "twelve"},
                                  {"classname1000", "last"},
                                  {"ClassName1001", "beyond"},
                                  {"ClassName07", "leading zero"},
                                  {"ClassName3", ""},
                                  {"WindowName2", "window"}});
    profile.Set("Filter", "ClassName4", 4);
    KestrovarOptions o;
    LoadOptions(o, profile);
    EXPECT_EQ(o.IgnoredClassNames, (std::vector<std::string>{"last", "twelve", "zero"}));
    EXPECT_EQ(o.IgnoredWindowNames, std::vector<std::string>{"window"});
}

TEST(SettingsRecord, SaveWritesInOrderAndNeverWritesTrayIconFlag) {
    MemoryProfile profile;
    KestrovarOptions o;
    o.Items.SetItem(3, "tip", "C:\\a.exe");
    SaveOptions(o, profile);

    EXPECT_EQ(Entries(profile, "WriteInt"),
              (std::vector<std::string>{
                  "Status/MemoryPage", "Status/WheelClickLock", "Status/WheelClickTrigger", "Status/WheelClickSelect",
                  "Status/HideOption", "Status/HotkeyShow", "Status/HotkeyNext", "Status/HotkeyPrev",
                  "Status/DoubleClick", "Design/SkinMode", "Design/IconSize", "Design/ButtonSpace",
                  "Design/ButtonWidth", "Design/ButtonHeight", "Design/Col", "Design/Row", "Design/WindowTPValue"}));
    EXPECT_LT(profile.IndexOf("WriteInt Status/DoubleClick"), profile.IndexOf("WriteString Path Name/Button3"));
    EXPECT_LT(profile.IndexOf("WriteString Path Name/Button3"), profile.IndexOf("WriteInt Design/SkinMode"));
    EXPECT_EQ(profile.IndexOf("WriteString Design/Theme"), profile.IndexOf("WriteInt Design/SkinMode") + 1);
    EXPECT_FALSE(profile.Has("Status", "ShowTaskTrayIcon"));
}

TEST(SettingsRecord, FilterListsWithGapsAreSavedWithoutGaps) {
    MemoryProfile profile;
    profile.SetStrings(
        "Filter",
        {{"ClassName0", "Notepad"}, {"ClassName5", "*Edit*"}, {"ClassName1001", "never read"}, {"WindowName2", ""}});
    KestrovarOptions o;
    LoadOptions(o, profile);
    EXPECT_EQ(o.IgnoredClassNames, (std::vector<std::string>{"*Edit*", "Notepad"}));
    EXPECT_TRUE(o.IgnoredWindowNames.empty());

    profile.ClearLog();
    SaveOptions(o, profile);
    EXPECT_EQ(profile.StringAt("Filter", "ClassName0"), "*Edit*");
    EXPECT_EQ(profile.StringAt("Filter", "ClassName1"), "Notepad");
    EXPECT_FALSE(profile.Has("Filter", "ClassName5"));
    EXPECT_FALSE(profile.Has("Filter", "WindowName2"));
    EXPECT_TRUE(profile.Has("Filter", "ClassName1001"));
    EXPECT_LT(profile.IndexOf("WriteString Filter/ClassName1"), profile.IndexOf("DeleteValue Filter/ClassName5"));
    EXPECT_LT(profile.IndexOf("DeleteValue Filter/ClassName5"), profile.IndexOf("DeleteValue Filter/WindowName2"));
}

TEST(SettingsRecord, SaveThenLoadRoundTrips) {
    MemoryProfile profile;
    KestrovarOptions saved;
    saved.SkinMode = 1;
    saved.Theme = "ﾃﾞﾌｫﾙﾄ";
    saved.HotkeyShow = 0;
    saved.Col = 4;
    saved.IgnoredWindowNames = {"a", "b", "c"};
    saved.Items.SetItem(10, "表示", "C:\\表\\x.exe -q");
    SaveOptions(saved, profile);

    KestrovarOptions loaded;
    LoadOptions(loaded, profile);
    EXPECT_EQ(loaded.SkinMode, 1);
    EXPECT_EQ(loaded.Theme, kPlainThemeName);
    EXPECT_EQ(loaded.HotkeyShow, 0);
    EXPECT_EQ(loaded.Col, 4);
    EXPECT_EQ(loaded.IgnoredWindowNames, (std::vector<std::string>{"c", "b", "a"}));
    ASSERT_NE(loaded.Items.FindItem(10), nullptr);
    EXPECT_EQ(loaded.Items.FindItem(10)->strCommand, "C:\\表\\x.exe -q");
}

TEST(SettingsRecordBounds, IconSizeOutsideTheUsableRangeReadsAsTheNearestBound) {
    using L = ThemeLimits;
    for (auto [stored, expected] :
         {std::pair{0, L::kMinIconSize}, {-5, L::kMinIconSize}, {1000, L::kMaxIconSize}, {32, 32}}) {
        MemoryProfile profile;
        profile.Set("Design", "IconSize", stored);
        KestrovarOptions options;
        LoadOptions(options, profile);
        EXPECT_EQ(expected, options.IconSize) << stored;
    }
}
