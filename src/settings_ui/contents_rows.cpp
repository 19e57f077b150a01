#include "settings_ui/contents_rows.h"

#include <algorithm>

#include "items/item_list.h"
#include "settings/mbcs.h"
#include "settings/profile_keys.h"

ContentsRows::ContentsRows(const ItemList& items) {
    int highest = -1;
    for (const auto& record : items.records()) {
        if (record->nIndex >= 0 && record->nIndex <= profile_keys::kMaxButtonIndex)
            highest = std::max(highest, record->nIndex);
    }
    rows_.resize(static_cast<size_t>(highest + 1));
    // Walk backwards so that the first record of an index in list order wins.
    for (auto it = items.records().rbegin(); it != items.records().rend(); ++it) {
        const CLaunchItem& record = **it;
        if (record.nIndex < 0 || record.nIndex > highest)
            continue;
        ContentsRow& row = rows_[static_cast<size_t>(record.nIndex)];
        row.tip = record.strTip == kNoTooltipText ? std::string() : record.strTip;
        row.command = record.strCommand;
    }
}

void ContentsRows::Swap(size_t a, size_t b) {
    if (a < rows_.size() && b < rows_.size())
        std::swap(rows_[a], rows_[b]);
}

RowDeleteResult ContentsRows::Delete(size_t row) {
    if (row >= rows_.size() || rows_[row].IsEmptySlot())
        return RowDeleteResult::kNothing;
    if (row + 1 == rows_.size()) {
        rows_.pop_back();
        return RowDeleteResult::kRemoved;
    }
    rows_[row] = ContentsRow();
    return RowDeleteResult::kEmptied;
}

void ContentsRows::EditCommand(size_t row,
                               const std::string& newCommand,
                               const PathProbe& probe,
                               const DescriptionLookup& describe) {
    if (row >= rows_.size())
        return;
    ContentsRow& target = rows_[row];
    std::string oldProgram, oldArguments;
    SplitCommandLine(target.command, oldProgram, oldArguments, probe);
    if (FindMbcs(newCommand, oldProgram) == std::string::npos) {
        // The description belongs to the program, not to the command with its parameters.
        std::string newProgram, newArguments;
        SplitCommandLine(newCommand, newProgram, newArguments, probe);
        std::string description = describe(newProgram.empty() ? newCommand : newProgram);
        target.tip = description.empty() ? newCommand : description;
    }
    target.command = newCommand;
}

void ContentsRows::ApplyTo(ItemList& items) const {
    items.RemoveAllItems();
    for (size_t r = 0; r < rows_.size(); ++r) {
        const ContentsRow& row = rows_[r];
        if (row.IsEmptySlot())
            continue;
        items.SetItem(static_cast<int>(r), row.tip.empty() ? std::string(kNoTooltipText) : row.tip, row.command);
    }
}
