// Lists stored as numbered profile values ("Button12", "ClassName0", ...).
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

class ProfileStore;

std::string NumberedKey(const std::string& prefix, int index);

// The index of a value named prefix + canonical decimal (no sign, no leading zero) within
// 0..maxIndex. The prefix is compared without ASCII case, as registry value names are.
std::optional<int> ParseNumberedKey(const std::string& name, const std::string& prefix, int maxIndex);

// The values of section named prefix + n (0 <= n <= maxIndex), by n, from one read of the
// section: what probing every name from maxIndex down to 0 would find, at the cost of the
// values present.
std::map<int, std::string> ReadNumberedValues(ProfileStore& profile,
                                              const std::string& section,
                                              const std::string& prefix,
                                              int maxIndex);

// Deletes every value of section named prefix + n (0 <= n <= maxIndex) whose n is not in keep.
// Run after the current values are written, so an interrupted save loses nothing.
void DeleteStaleNumberedKeys(ProfileStore& profile,
                             const std::string& section,
                             const std::string& prefix,
                             int maxIndex,
                             const std::set<int>& keep);
