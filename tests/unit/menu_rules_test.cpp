#include "items/menu_rules.h"

#include <gtest/gtest.h>

#include "items/command_ids.h"
#include "settings/launch_item.h"

namespace {

constexpr int kSeparator = -1;
constexpr int kSubmenu = -2;

// Top-level entries as ids, with separators and the submenu as markers.
std::vector<int> Ids(const std::vector<MenuEntry>& menu) {
    std::vector<int> ids;
    for (const MenuEntry& entry : menu) {
        if (entry.kind == MenuEntry::kSeparator)
            ids.push_back(kSeparator);
        else if (entry.kind == MenuEntry::kSubmenu)
            ids.push_back(kSubmenu);
        else
            ids.push_back(entry.id);
    }
    return ids;
}

const std::vector<int> kFixedTail{kSeparator, kCmdVersion, kCmdCancel, kSeparator, kCmdQuit};

std::vector<int> Concat(std::vector<int> head, const std::vector<int>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

}  // namespace

TEST(MenuRules, BackgroundOffersNoItemCommands) {
    MenuContext context;
    EXPECT_EQ(Ids(BuildLauncherMenu(context)), Concat({kCmdSettings}, kFixedTail));
}

TEST(MenuRules, ButtonEntriesDependOnHighestUsedIndexAndRecord) {
    MenuContext context;
    context.onButton = true;
    context.highestUsedIndex = 5;

    context.clickedIndex = 6;  // after the last used slot
    EXPECT_EQ(Ids(BuildLauncherMenu(context)), Concat({kCmdRegister, kSeparator, kCmdSettings}, kFixedTail));

    context.clickedIndex = 3;  // before it, no record
    EXPECT_EQ(Ids(BuildLauncherMenu(context)),
              Concat({kCmdRegister, kCmdInsertBlank, kCmdDelete, kSeparator, kCmdSettings}, kFixedTail));

    context.hasRecord = true;
    EXPECT_EQ(Ids(BuildLauncherMenu(context)),
              Concat({kCmdRegister, kCmdInsertBlank, kCmdDelete, kSeparator, kCmdEditTip, kCmdEditCommand, kCmdOpenLink,
                      kSeparator, kCmdSettings},
                     kFixedTail));

    context.hasRecord = false;
    context.highestUsedIndex = 0;  // no used item at all: slot 0 still offers insert and delete
    context.clickedIndex = 0;
    EXPECT_EQ(Ids(BuildLauncherMenu(context))[1], kCmdInsertBlank);
}

TEST(MenuRules, TextsAreExact) {
    MenuContext context;
    context.onButton = true;
    context.hasRecord = true;
    std::vector<MenuEntry> menu = BuildLauncherMenu(context);
    EXPECT_EQ(menu[0].text, "登録(&A)");
    EXPECT_EQ(menu[4].text, "ﾂｰﾙﾁｯﾌﾟﾃｷｽﾄの編集&P)");
    EXPECT_EQ(menu[5].text, "起動ｺﾏﾝﾄﾞの編集(&E)");
    EXPECT_EQ(menu.back().text, "Kestrovarの終了(&X)");
}

TEST(MenuRules, ThemeSubmenuChecksDefaultAndNamedThemeIndependently) {
    MenuContext context;
    context.themeNames = {"aqua", "Blue"};
    context.themeName = "Blue";
    context.skinMode = false;
    std::vector<MenuEntry> menu = BuildLauncherMenu(context);
    ASSERT_EQ(Ids(menu), Concat({kCmdSettings, kSubmenu}, kFixedTail));
    const MenuEntry& submenu = menu[1];
    EXPECT_EQ(submenu.text, "ﾃｰﾏ(&T)");
    ASSERT_EQ(submenu.children.size(), 4u);
    EXPECT_EQ(submenu.children[0].id, kCmdDefaultTheme);
    EXPECT_EQ(submenu.children[0].text, "ﾃﾞﾌｫﾙﾄ");
    EXPECT_TRUE(submenu.children[0].checked);
    EXPECT_EQ(submenu.children[1].kind, MenuEntry::kSeparator);
    EXPECT_EQ(submenu.children[2].id, 1925);
    EXPECT_FALSE(submenu.children[2].checked);
    EXPECT_EQ(submenu.children[3].id, 1926);
    EXPECT_TRUE(submenu.children[3].checked);
    EXPECT_EQ(ThemeIndexFromCommand(1926), 1);
    EXPECT_EQ(ThemeIndexFromCommand(kCmdDefaultTheme), std::nullopt);

    context.themeNames.assign(5000, "t");
    EXPECT_EQ(BuildLauncherMenu(context)[1].children.size(), 2u + kMaxThemeMenuEntries);
}

TEST(MenuRules, CommandTargetChangedWhenOldProgramIsGone) {
    EXPECT_FALSE(CommandTargetChanged("C:\\A\\a.exe", "C:\\A\\a.exe /x"));
    EXPECT_TRUE(CommandTargetChanged("C:\\A\\a.exe", "C:\\B\\b.exe"));
    EXPECT_TRUE(CommandTargetChanged("C:\\A\\a.exe", ""));
    EXPECT_FALSE(CommandTargetChanged("", "anything"));
    EXPECT_TRUE(CommandTargetChanged("\\x", "表x"));
}

TEST(MenuRules, EditedTextsStayStorable) {
    EXPECT_EQ(StorableTooltip("", "C:\\a.exe"), kNoTooltipText);  // the item survives the profile
    EXPECT_EQ(StorableTooltip("", ""), "");                       // a blank record stays blank
    EXPECT_EQ(StorableTooltip("a*b**", "C:\\a.exe"), "a＊b＊＊");
    EXPECT_EQ(StorableTooltip("表示", "x"), "表示");
    EXPECT_TRUE(IsStorableCommand("C:\\a.exe /x"));
    EXPECT_TRUE(IsStorableCommand(""));
    EXPECT_FALSE(IsStorableCommand("cmd /c dir *.txt"));
}

TEST(MenuRules, TooltipAfterCommandEdit) {
    // A fake file system with two programs; b.exe has a description.
    const PathProbe probe = [](const std::string& path) -> unsigned long {
        return path == "C:\\A\\a.exe" || path == "C:\\B\\b.exe" ? 0x20 : 0;
    };
    auto describe = [](const std::string& program) {
        return program == "C:\\B\\b.exe" ? std::string("B *tool") : std::string();
    };
    auto after = [&](const char* oldTip, const char* oldCommand, const char* newCommand) {
        return TooltipAfterCommandEdit(oldTip, oldCommand, newCommand, probe, describe);
    };
    // Same program with parameters: the tooltip stays.
    EXPECT_EQ(after("A", "C:\\A\\a.exe -y", "C:\\A\\a.exe /x"), "A");
    // Another program: the storable description of its program part, or the command.
    EXPECT_EQ(after("A", "C:\\A\\a.exe", "C:\\B\\b.exe"), "B ＊tool");
    EXPECT_EQ(after("A", "C:\\A\\a.exe", "C:\\B\\b.exe /q"), "B ＊tool");
    EXPECT_EQ(after("A", "C:\\A\\a.exe", "C:\\C\\c.exe"), "C:\\C\\c.exe");
    // Emptied command: the slot becomes blank.
    EXPECT_EQ(after("A", "C:\\A\\a.exe", ""), "");
    // A blank record given a command gets a tooltip, otherwise the profile would drop it.
    EXPECT_EQ(after("", "", "C:\\B\\b.exe"), "B ＊tool");
    EXPECT_EQ(after("NO TOOLTIP TEXT", "", "C:\\B\\b.exe"), "NO TOOLTIP TEXT");
}
