// Row model of the registered applications page: one row per item slot from 0 to the highest
// slot holding a record; row r always stands for item index r.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "text/cmdline.h"

class ItemList;

// The description a file's version resource gives, empty when it has none.
using DescriptionLookup = std::function<std::string(const std::string& path)>;

struct ContentsRow {
    std::string tip;      // shown tooltip; the stored placeholder shows as empty
    std::string command;  // empty: an empty slot

    bool IsEmptySlot() const { return command.empty(); }
};

enum class RowDeleteResult {
    kNothing,  // empty slot: nothing to delete
    kRemoved,  // the last row was removed
    kEmptied,  // a middle row was emptied in place
};

class ContentsRows {
public:
    ContentsRows() = default;
    // Rows for the item slots 0..10000 (higher slots are not shown and are dropped on apply).
    explicit ContentsRows(const ItemList& items);

    size_t size() const { return rows_.size(); }
    const ContentsRow& at(size_t row) const { return rows_.at(row); }
    ContentsRow& at(size_t row) { return rows_.at(row); }

    // Exchanges the texts of two rows; out-of-range rows are ignored.
    void Swap(size_t a, size_t b);
    RowDeleteResult Delete(size_t row);
    // Gives a row a new command, by the rule of the context menu (TooltipAfterCommandEdit):
    // when the new command no longer contains the old command's program, the tooltip follows
    // the new program. A command the profile cannot store (with '*') and out-of-range rows are
    // ignored.
    void EditCommand(size_t row,
                     const std::string& newCommand,
                     const PathProbe& probe,
                     const DescriptionLookup& describe);
    // Gives a filled row a new tooltip as it can be stored ('*' becomes '＊'); an empty one
    // stays empty and is stored as the placeholder. Out-of-range rows are ignored.
    void EditTip(size_t row, const std::string& tip);

    // Replaces the item list by one record per filled row, each tooltip made storable (an
    // empty one becomes the placeholder text).
    void ApplyTo(ItemList& items) const;

private:
    std::vector<ContentsRow> rows_;
};
