// Patterns of the ignored-window lists: plain text with an optional '*' at the start, at the
// end, or both ("Note*", "*pad", "*ote*"). A '*' anywhere else is an ordinary character.
#pragma once

#include <string>
#include <vector>

// True when the non-empty text matches one of the patterns (empty patterns are skipped).
// Comparisons are exact and case-sensitive in bytes.
bool MatchesAny(const std::string& text, const std::vector<std::string>& patterns);
