#include "settings/item_list.h"

#include <algorithm>
#include <climits>
#include <map>
#include <set>
#include <unordered_set>

#include "framework/profile_store.h"
#include "settings/numbered_keys.h"
#include "settings/numbered_list_save.h"
#include "settings/profile_keys.h"
#include "text/cmdline.h"

CLaunchItem* ItemList::FindItem(int index) {
    for (auto& record : records_) {
        if (record->nIndex == index)
            return record.get();
    }
    return nullptr;
}

const CLaunchItem* ItemList::FindItem(int index) const {
    return const_cast<ItemList*>(this)->FindItem(index);
}

bool ItemList::HasItem(int index) const {
    return FindItem(index) != nullptr;
}

int ItemList::HighestIndex() const {
    int highest = 0;
    for (const auto& record : records_)
        highest = std::max(highest, record->nIndex);
    return highest;
}

int ItemList::HighestUsedIndex() const {
    int highest = 0;
    for (const auto& record : records_) {
        if (record->IsUsed())
            highest = std::max(highest, record->nIndex);
    }
    return highest;
}

void ItemList::PutItem(std::unique_ptr<CLaunchItem> item) {
    if (!item)
        return;
    if (CLaunchItem* existing = FindItem(item->nIndex)) {
        existing->strTip = std::move(item->strTip);
        existing->strCommand = std::move(item->strCommand);
        return;
    }
    records_.push_back(std::move(item));
}

void ItemList::SetItem(int index, const std::string& tip, const std::string& command) {
    auto item = std::make_unique<CLaunchItem>();
    item->nIndex = index;
    item->strTip = tip;
    item->strCommand = command;
    PutItem(std::move(item));
}

void ItemList::ClearItem(int index) {
    if (CLaunchItem* record = FindItem(index)) {
        record->strTip.clear();
        record->strCommand.clear();
    }
}

// Equivalent to visiting the indexes of [low, high] one by one (toward the side the records
// move to) and moving the record FindItem returns, but in one pass: a moved record never lands
// on an index that is still to be visited, so the record each visit finds is the first record
// that held that index before the edit.
void ItemList::ShiftFirstRecords(int low, int high, int delta) {
    if (low > high)
        return;
    // Which indexes of the range already had their first record; a flag per index when the range
    // is of list size (the usual case), a hash set for sparse huge ranges.
    const long long span = static_cast<long long>(high) - low + 1;
    const bool dense = span <= static_cast<long long>(records_.size()) * 4 + 1024;
    std::vector<char> seenFlags(dense ? static_cast<size_t>(span) : 0);
    std::unordered_set<int> seenSet;
    auto firstSeen = [&](int index) {
        if (dense) {
            char& flag = seenFlags[static_cast<size_t>(static_cast<long long>(index) - low)];
            return flag ? false : (flag = 1, true);
        }
        return seenSet.insert(index).second;
    };
    for (auto& record : records_) {
        const int index = record->nIndex;
        if (index < low || index > high || !firstSeen(index))
            continue;
        // A record at the very top of the int range cannot move further up; it stays put.
        if (delta > 0 && index > INT_MAX - delta)
            continue;
        record->nIndex = index + delta;
    }
}

bool ItemList::InsertBlank(int at) {
    const CLaunchItem* last = FindItem(profile_keys::kMaxButtonIndex);
    if (at <= profile_keys::kMaxButtonIndex && last && !last->IsBlank())
        return false;
    ShiftFirstRecords(at, HighestIndex(), +1);
    return true;
}

void ItemList::DeleteAt(int at) {
    const int highest = HighestIndex();
    CLaunchItem* removed = FindItem(at);
    if (at < INT_MAX)
        ShiftFirstRecords(at + 1, highest, -1);
    if (removed) {
        removed->nIndex = highest;
        ClearItem(highest);
    }
}

void ItemList::MoveItem(int from, int to) {
    CLaunchItem* moved = FindItem(from);
    if (from < to)
        ShiftFirstRecords(from + 1, to, -1);
    else if (from > to)
        ShiftFirstRecords(to, from - 1, +1);
    if (moved)
        moved->nIndex = to;
}

void ItemList::RemoveAllItems() {
    records_.clear();
}

std::vector<const CLaunchItem*> ItemList::UsedItemsByIndex() const {
    std::vector<const CLaunchItem*> used;
    for (const auto& record : records_) {
        if (record->IsUsed())
            used.push_back(record.get());
    }
    std::stable_sort(used.begin(), used.end(),
                     [](const CLaunchItem* a, const CLaunchItem* b) { return a->nIndex < b->nIndex; });
    return used;
}

uint64_t UsedCommandsFingerprint(const ItemList& items) {
    // FNV-1a, with a terminating zero after each command so that no two lists run together.
    uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](unsigned char byte) { hash = (hash ^ byte) * 1099511628211ull; };
    for (const CLaunchItem* item : items.UsedItemsByIndex()) {
        for (char c : item->strCommand)
            mix(static_cast<unsigned char>(c));
        mix(0);
    }
    return hash;
}

void ReadItems(ItemList& items, ProfileStore& profile) {
    using namespace profile_keys;
    // Each index is read once, so into an empty list the records can be appended without the
    // lookup PutItem does (10001 values would make that quadratic).
    const bool startedEmpty = items.empty();
    // From the highest index down, so the list comes out in descending index order.
    const std::map<int, std::string> values = ReadNumberedValues(profile, kPathName, kButtonPrefix, kMaxButtonIndex);
    for (auto it = values.rbegin(); it != values.rend(); ++it) {
        const int n = it->first;
        const std::string& value = it->second;
        if (value.empty())
            continue;
        std::vector<std::string> pieces;
        if (SplitString("*", pieces, value) != 2)
            continue;
        if (startedEmpty)
            items.records_.push_back(std::make_unique<CLaunchItem>(CLaunchItem{n, pieces[0], pieces[1]}));
        else
            items.SetItem(n, pieces[0], pieces[1]);
    }
}

void WriteItems(const ItemList& items, ProfileStore& profile) {
    using namespace profile_keys;
    // Later records of the same index overwrite earlier ones, as writing in list order would.
    std::map<int, std::string> wanted;
    for (const auto& record : items.records()) {
        if (record->IsBlank())
            continue;
        const std::string value = record->strTip + "*" + record->strCommand;
        if (record->nIndex >= 0 && record->nIndex <= kMaxButtonIndex)
            wanted[record->nIndex] = value;
        else
            profile.WriteString(kPathName, NumberedKey(kButtonPrefix, record->nIndex), value);
    }
    SaveNumberedList(profile, kPathName, kButtonPrefix, kMaxButtonIndex, wanted);
}
