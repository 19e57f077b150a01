#include <gtest/gtest.h>

#include "settings/item_list.h"
#include "settings_ui/contents_rows.h"
#include "settings_ui/theme_list_rules.h"

TEST(ThemeListRules, ListingEntriesBecomeThemeNames) {
    EXPECT_EQ(ThemeEntryFromListing("[..]"), "ﾃﾞﾌｫﾙﾄ");
    EXPECT_EQ(ThemeEntryFromListing("readme.txt"), "ﾃﾞﾌｫﾙﾄ");
    EXPECT_EQ(ThemeEntryFromListing("[Blue]"), "Blue");
    EXPECT_EQ(ThemeEntryFromListing("[青い 空]"), "青い 空");
    EXPECT_EQ(ThemeEntryFromListing("README"), "README");
}

TEST(ThemeListRules, IconSizeChoice) {
    EXPECT_EQ(IconSizeForSelection(0).iconSize, 16);
    EXPECT_EQ(IconSizeForSelection(0).buttonSize, 22);
    EXPECT_EQ(IconSizeForSelection(1).buttonSize, 38);
    EXPECT_EQ(IconSizeForSelection(-1).iconSize, 32);
    EXPECT_EQ(IconSizeEntryText(32), "32 x 32");
}

namespace {

ItemList SampleItems() {
    ItemList items;
    items.SetItem(5, "five", "C:\\5.exe");
    items.SetItem(0, "NO TOOLTIP TEXT", "C:\\0.exe");
    items.SetItem(1, "one", "C:\\1.exe");
    items.SetItem(3, "", "");  // a slot blanked from the context menu
    items.SetItem(10001, "hidden", "C:\\far.exe");
    return items;
}

}  // namespace

TEST(ContentsRows, OneRowPerSlotUpToHighestIndex) {
    ContentsRows rows(SampleItems());
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows.at(0).tip, "");  // the placeholder shows as empty
    EXPECT_EQ(rows.at(0).command, "C:\\0.exe");
    EXPECT_EQ(rows.at(1).tip, "one");
    EXPECT_TRUE(rows.at(2).IsEmptySlot());
    EXPECT_TRUE(rows.at(3).IsEmptySlot());
    EXPECT_EQ(rows.at(5).command, "C:\\5.exe");
    EXPECT_EQ(ContentsRows(ItemList()).size(), 0u);
}

TEST(ContentsRows, EditsAndApply) {
    ContentsRows rows(SampleItems());
    rows.Swap(1, 2);  // into an empty slot
    rows.Swap(5, 6);  // out of range: ignored
    EXPECT_EQ(rows.Delete(3), RowDeleteResult::kNothing);
    EXPECT_EQ(rows.Delete(0), RowDeleteResult::kEmptied);
    EXPECT_EQ(rows.size(), 6u);

    ItemList items = SampleItems();
    rows.ApplyTo(items);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items.FindItem(2)->strTip, "one");
    EXPECT_EQ(items.FindItem(5)->strCommand, "C:\\5.exe");
    EXPECT_EQ(items.FindItem(10001), nullptr);

    EXPECT_EQ(rows.Delete(5), RowDeleteResult::kRemoved);
    rows.at(2).tip = "";  // an emptied tooltip is stored as the placeholder
    rows.ApplyTo(items);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items.FindItem(2)->strTip, "NO TOOLTIP TEXT");
    rows.at(2).tip = "a*b";  // a '*' would split the stored value
    rows.ApplyTo(items);
    EXPECT_EQ(items.FindItem(2)->strTip, "a＊b");

    ContentsRows().ApplyTo(items);
    EXPECT_TRUE(items.empty());
}

TEST(ContentsRows, EditCommandTooltipFollowsTheProgramAndTextsStayStorable) {
    // A fake file system: the programs exist, "C:\B\other.exe" has a description with a '*'.
    const PathProbe probe = [](const std::string& path) -> unsigned long {
        return path == "C:\\A\\app.exe" || path == "C:\\B\\other.exe" || path == "C:\\B\\plain.exe" ? 0x20 : 0;
    };
    const DescriptionLookup describe = [](const std::string& path) {
        return path == "C:\\B\\other.exe" ? std::string("他の*ツール") : std::string();
    };
    ItemList items;
    items.SetItem(0, "アプリ", "C:\\A\\app.exe");
    ContentsRows rows(items);

    rows.EditCommand(0, "C:\\A\\app.exe -x", probe, describe);  // same program: tooltip kept
    EXPECT_EQ(rows.at(0).tip, "アプリ");
    EXPECT_EQ(rows.at(0).command, "C:\\A\\app.exe -x");

    // The old program part is now "C:\A\app.exe"; a new program takes its description, looked
    // up for the program rather than for the whole command with its parameters.
    rows.EditCommand(0, "C:\\B\\other.exe /q", probe, describe);
    EXPECT_EQ(rows.at(0).tip, "他の＊ツール");                 // made storable
    rows.EditCommand(0, "C:\\B\\plain.exe", probe, describe);  // no description: the command
    EXPECT_EQ(rows.at(0).tip, "C:\\B\\plain.exe");

    rows.EditCommand(0, "C:\\B\\plain.exe *.txt", probe, describe);  // unstorable: ignored
    EXPECT_EQ(rows.at(0).command, "C:\\B\\plain.exe");
    rows.EditCommand(3, "C:\\x.exe", probe, describe);  // out of range: ignored
    EXPECT_EQ(rows.size(), 1u);

    rows.EditTip(0, "x*y");
    EXPECT_EQ(rows.at(0).tip, "x＊y");
    rows.EditTip(0, "");  // stored as the placeholder, shown empty
    EXPECT_EQ(rows.at(0).tip, "");
}
