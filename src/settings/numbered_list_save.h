// Saving a list stored as numbered profile values (prefix + index) without ever leaving the
// profile without a value that is wanted after the save: a process killed at any point of the
// save loses no item that was stored before and is still in the list.
#pragma once

#include <map>
#include <string>
#include <vector>

class ProfileStore;

struct NumberedListStep {
    enum Kind { kWrite, kDelete } kind;
    int index;
    std::string value;  // for kWrite
};

// Orders the writes and deletions that turn `stored` into `wanted` (index → value). A value is
// written over a stored one only once that stored value is safe elsewhere (it is unwanted, or
// another index holds it too); where values would have to trade places, one of them is first
// copied to an index in [0, maxIndex] that neither map uses. Unchanged values are not rewritten.
// Stale indexes are deleted last.
std::vector<NumberedListStep> PlanNumberedListSave(const std::map<int, std::string>& stored,
                                                   const std::map<int, std::string>& wanted,
                                                   int maxIndex);

// Reads the section's prefix + index values (0 to maxIndex), then saves `wanted` by the plan.
void SaveNumberedList(ProfileStore& profile,
                      const std::string& section,
                      const std::string& prefix,
                      int maxIndex,
                      const std::map<int, std::string>& wanted);
