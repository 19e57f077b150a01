// The registered items: an unordered list of records, looked up by slot index.
//
// Lookups take the first record (in list order) with the index; the edits keep indices unique,
// but a list built by hand may hold duplicates, and the edits then touch only the first record
// of each index.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "settings/launch_item.h"

class ProfileStore;

class ItemList {
public:
    using Records = std::vector<std::unique_ptr<CLaunchItem>>;

    CLaunchItem* FindItem(int index);
    const CLaunchItem* FindItem(int index) const;
    // True for any record with the index, blank or not.
    bool HasItem(int index) const;
    // Largest index of all records (blank ones too); 0 for an empty list.
    int HighestIndex() const;
    // Largest index of a used record; 0 when there is none.
    int HighestUsedIndex() const;

    // Replaces the texts of the record with item's index, or appends item.
    void PutItem(std::unique_ptr<CLaunchItem> item);
    // Same as PutItem with a record made of the arguments.
    void SetItem(int index, const std::string& tip, const std::string& command);
    // Empties both texts of the record with the index; the record stays.
    void ClearItem(int index);

    // Frees slot at: every item at at or later moves one slot up. Refused, leaving the list
    // unchanged and returning false, when that would push the item in the profile's last slot
    // (profile_keys::kMaxButtonIndex) beyond it, where it would be written but never read back.
    bool InsertBlank(int at);
    // Removes the item at at; every later item moves one slot down and the record of at ends,
    // cleared, at the old highest index.
    void DeleteAt(int at);
    // Moves the item at from to to; the items in between shift toward the vacated slot.
    void MoveItem(int from, int to);

    void RemoveAllItems();

    size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    const Records& records() const { return records_; }

    // Used records in ascending index order (stable for equal indices); the icon data file
    // pairs its images with the items in this order.
    std::vector<const CLaunchItem*> UsedItemsByIndex() const;

private:
    friend void ReadItems(ItemList& items, ProfileStore& profile);

    // For each index in [low, high], the first record holding it gets index + delta.
    void ShiftFirstRecords(int low, int high, int delta);

    Records records_;
};

// A fingerprint of the used items' commands in ascending index order: the icon data file
// written for one list fits another list exactly when the fingerprints are equal.
uint64_t UsedCommandsFingerprint(const ItemList& items);

// Profile form: section "Path Name", values "Button<n>" = tip + "*" + command.
void ReadItems(ItemList& items, ProfileStore& profile);
void WriteItems(const ItemList& items, ProfileStore& profile);
