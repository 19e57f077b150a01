#include "settings/item_list.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "memory_profile.h"

namespace {

// Index -> command of every record, for compact comparisons.
std::map<int, std::string> Slots(const ItemList& items) {
    std::map<int, std::string> slots;
    for (const auto& record : items.records())
        slots.emplace(record->nIndex, record->strCommand);
    return slots;
}

ItemList ListOf(std::initializer_list<std::pair<int, const char*>> entries) {
    ItemList items;
    for (const auto& [index, command] : entries)
        items.SetItem(index, std::string("tip ") + command, command);
    return items;
}

}  // namespace

TEST(ItemList, LookupsAndHighestIndexes) {
    ItemList items;
    EXPECT_EQ(items.FindItem(0), nullptr);
    EXPECT_EQ(items.HighestIndex(), 0);
    EXPECT_EQ(items.HighestUsedIndex(), 0);

    items = ListOf({{3, "a"}, {7, "b"}});
    items.ClearItem(7);
    EXPECT_TRUE(items.HasItem(7));  // a blank record still counts
    EXPECT_EQ(items.HighestIndex(), 7);
    EXPECT_EQ(items.HighestUsedIndex(), 3);
    items.ClearItem(42);  // no record: nothing happens
    EXPECT_EQ(items.size(), 2u);
}

TEST(ItemList, PutItemReplacesTextsOfExistingRecord) {
    ItemList items = ListOf({{2, "a"}});
    CLaunchItem* original = items.FindItem(2);
    auto replacement = std::make_unique<CLaunchItem>();
    replacement->nIndex = 2;
    replacement->strTip = "new tip";
    replacement->strCommand = "new";
    items.PutItem(std::move(replacement));
    EXPECT_EQ(items.size(), 1u);
    EXPECT_EQ(items.FindItem(2), original);
    EXPECT_EQ(original->strTip, "new tip");
    EXPECT_EQ(original->strCommand, "new");
}

TEST(ItemList, InsertBlankShiftsLaterItemsUp) {
    ItemList items = ListOf({{0, "a"}, {1, "b"}, {2, "c"}, {5, "d"}});
    items.InsertBlank(1);
    EXPECT_EQ(Slots(items), (std::map<int, std::string>{{0, "a"}, {2, "b"}, {3, "c"}, {6, "d"}}));

    items.InsertBlank(6);  // at the highest index only that item moves
    EXPECT_EQ(Slots(items), (std::map<int, std::string>{{0, "a"}, {2, "b"}, {3, "c"}, {7, "d"}}));
    items.InsertBlank(8);  // past the end: nothing
    EXPECT_EQ(Slots(items).rbegin()->first, 7);

    // The profile holds slots up to 10000: an insert that would push the item there beyond is
    // refused. A blank record there may move on; nothing of it is stored.
    ItemList full = ListOf({{0, "a"}, {9999, "y"}, {10000, "z"}});
    const auto before = Slots(full);
    EXPECT_FALSE(full.InsertBlank(0));
    EXPECT_FALSE(full.InsertBlank(10000));
    EXPECT_EQ(Slots(full), before);
    full.ClearItem(10000);
    EXPECT_TRUE(full.InsertBlank(9999));
    EXPECT_EQ(Slots(full), (std::map<int, std::string>{{0, "a"}, {10000, "y"}, {10001, ""}}));
    EXPECT_TRUE(full.InsertBlank(10001));  // beyond the stored slots nothing is at stake
}

TEST(ItemList, DeleteAtClosesGapAndLeavesBlankAtEnd) {
    ItemList items = ListOf({{0, "a"}, {1, "b"}, {4, "c"}, {12, "d"}});
    items.DeleteAt(0);  // across page boundaries (12 items per page)
    EXPECT_EQ(Slots(items), (std::map<int, std::string>{{0, "b"}, {3, "c"}, {11, "d"}, {12, ""}}));
    EXPECT_TRUE(items.FindItem(12)->IsBlank());

    items.DeleteAt(12);  // the last record: cleared in place
    EXPECT_EQ(items.FindItem(12)->strCommand, "");
    EXPECT_EQ(items.HighestUsedIndex(), 11);

    items.DeleteAt(5);  // empty slot: later items still close up, nothing is cleared
    EXPECT_EQ(Slots(items), (std::map<int, std::string>{{0, "b"}, {3, "c"}, {10, "d"}, {11, ""}}));
}

TEST(ItemList, MoveItemRotatesItemsInBetween) {
    ItemList items = ListOf({{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}, {5, "e"}, {6, "f"}});
    items.MoveItem(2, 5);
    EXPECT_EQ(Slots(items), (std::map<int, std::string>{{1, "a"}, {2, "c"}, {3, "d"}, {4, "e"}, {5, "b"}, {6, "f"}}));
    items.MoveItem(5, 2);
    EXPECT_EQ(Slots(items), (std::map<int, std::string>{{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}, {5, "e"}, {6, "f"}}));

    items.MoveItem(1, 14);  // onto an empty slot on the next page
    EXPECT_EQ(Slots(items), (std::map<int, std::string>{{1, "b"}, {2, "c"}, {3, "d"}, {4, "e"}, {5, "f"}, {14, "a"}}));
    items.MoveItem(0, 3);  // from an empty slot: the others still shift
    EXPECT_EQ(Slots(items), (std::map<int, std::string>{{1, "c"}, {2, "d"}, {0, "b"}, {4, "e"}, {5, "f"}, {14, "a"}}));
}

TEST(ItemList, EditsTouchOnlyTheFirstRecordOfADuplicateIndex) {
    // Built by hand with a duplicate; the edits shift the first record of each index only,
    // exactly as walking the slots with FindItem would.
    ItemList items = ListOf({{1, "a"}, {2, "b"}});
    items.records()[1]->nIndex = 1;
    items.SetItem(3, "", "c");
    items.InsertBlank(1);
    EXPECT_EQ(items.records()[0]->nIndex, 2);
    EXPECT_EQ(items.records()[1]->nIndex, 1);
    EXPECT_EQ(items.records()[2]->nIndex, 4);
}

TEST(ItemList, EditsDoNotWalkEverySlot) {
    MemoryProfile profile;
    for (int i = 0; i < 10000; ++i)
        profile.Set("Path Name", "Button" + std::to_string(i), "t*c" + std::to_string(i));
    ItemList items;
    ReadItems(items, profile);
    ASSERT_EQ(items.size(), 10000u);
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(items.InsertBlank(0));  // the last slot, 10000, is still free
        items.DeleteAt(0);
        items.MoveItem(0, 9999);
    }
    EXPECT_EQ(items.HighestIndex(), 9999);
    EXPECT_EQ(items.FindItem(9999)->strCommand, "c49");

    // Far-apart indexes: the cost follows the records, not the index range.
    ItemList sparse = ListOf({{0, "a"}, {2000000000, "b"}, {INT_MAX, "c"}});
    sparse.InsertBlank(0);
    EXPECT_EQ(Slots(sparse), (std::map<int, std::string>{{1, "a"}, {2000000001, "b"}, {INT_MAX, "c"}}));
    sparse.MoveItem(INT_MAX, 0);
    EXPECT_EQ(Slots(sparse), (std::map<int, std::string>{{0, "c"}, {2, "a"}, {2000000002, "b"}}));
}

TEST(ItemList, UsedItemsByIndexAscending) {
    ItemList items = ListOf({{9, "c"}, {1, "a"}, {4, "b"}});
    items.ClearItem(4);
    std::vector<std::string> commands;
    for (const CLaunchItem* item : items.UsedItemsByIndex())
        commands.push_back(item->strCommand);
    EXPECT_EQ(commands, (std::vector<std::string>{"a", "c"}));
}

TEST(ItemProfile, ReadAcceptsExactlyTwoPiecesWithinRange) {
    MemoryProfile profile;
    profile.SetStrings("Path Name", {{"Button0", "Zero*C:\\zero.exe"},
                                     {"Button7", "**Seven***C:\\seven.exe*"},
                                     {"Button3", "OnlyTip*"},
                                     {"Button4", "a*b*c"},
                                     {"Button10000", "Last*C:\\last.exe"},
                                     {"Button10001", "Beyond*C:\\beyond.exe"}});

    ItemList items;
    ReadItems(items, profile);
    ASSERT_EQ(items.size(), 3u);
    // Read from 10000 down to 0, so the list is in descending order.
    EXPECT_EQ(items.records()[0]->nIndex, 10000);
    EXPECT_EQ(items.records()[1]->nIndex, 7);
    EXPECT_EQ(items.records()[1]->strTip, "Seven");
    EXPECT_EQ(items.records()[1]->strCommand, "C:\\seven.exe");
    EXPECT_EQ(items.records()[2]->nIndex, 0);
    EXPECT_EQ(profile.IndexOf("GetString Path Name/Button10001"), -1);
}

TEST(ItemProfile, WriteReplacesStoredListAndWritesBeforeDeleting) {
    MemoryProfile profile;
    for (const char* key :
         {"Button1", "Button2", "Button9", "Button10000", "button3", "Button05", "Button10001", "Other"})
        profile.Set("Path Name", key, std::string("old*old"));

    ItemList items = ListOf({{2, "two"}, {5, "five"}});
    items.SetItem(6, "", "");  // blank records are not written
    items.SetItem(4, kNoTooltipText, "four");
    WriteItems(items, profile);

    EXPECT_EQ(profile.StringAt("Path Name", "Button2"), "tip two*two");
    EXPECT_EQ(profile.StringAt("Path Name", "Button4"), "NO TOOLTIP TEXT*four");
    EXPECT_FALSE(profile.Has("Path Name", "Button6"));
    for (const char* stale : {"Button1", "Button9", "Button10000", "button3"})
        EXPECT_FALSE(profile.Has("Path Name", stale)) << stale;
    // Names outside Button0..Button10000 are not the list's.
    for (const char* other : {"Button05", "Button10001", "Other"})
        EXPECT_TRUE(profile.Has("Path Name", other)) << other;

    const int lastWrite = profile.IndexOf("WriteString Path Name/Button4");
    for (const char* stale : {"Button1", "Button9", "Button10000", "button3"})
        EXPECT_GT(profile.IndexOf(std::string("DeleteValue Path Name/") + stale), lastWrite);

    ItemList reread;
    ReadItems(reread, profile);
    EXPECT_EQ(Slots(reread), (std::map<int, std::string>{{2, "two"}, {4, "four"}, {5, "five"}}));
}
