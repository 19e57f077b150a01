#include "settings_ui/contents_rows.h"

#include <algorithm>

#include "items/menu_rules.h"
#include "settings/item_list.h"
#include "settings/profile_keys.h"

namespace {

// The placeholder of a stored item without tooltip shows as an empty tooltip.
std::string ShownTip(const std::string& storedTip) {
    return storedTip == kNoTooltipText ? std::string() : storedTip;
}

}  // namespace

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
        row.tip = ShownTip(record.strTip);
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
    if (row >= rows_.size() || !IsStorableCommand(newCommand))
        return;
    ContentsRow& target = rows_[row];
    // The rule works on the stored tooltip, in which an empty row tooltip is the placeholder.
    const std::string storedTip = StorableTooltip(target.tip, target.command);
    target.tip = ShownTip(TooltipAfterCommandEdit(storedTip, target.command, newCommand, probe, describe));
    target.command = newCommand;
}

void ContentsRows::EditTip(size_t row, const std::string& tip) {
    if (row >= rows_.size())
        return;
    ContentsRow& target = rows_[row];
    target.tip = ShownTip(StorableTooltip(tip, target.command));
}

void ContentsRows::ApplyTo(ItemList& items) const {
    items.RemoveAllItems();
    for (size_t r = 0; r < rows_.size(); ++r) {
        const ContentsRow& row = rows_[r];
        if (row.IsEmptySlot())
            continue;
        items.SetItem(static_cast<int>(r), StorableTooltip(row.tip, row.command), row.command);
    }
}
