// One registered launcher item: a button slot with its tooltip and command.
#pragma once

#include <string>

// Stored in place of an empty tooltip, because the profile form cannot hold an empty text;
// shown as no tooltip.
inline constexpr char kNoTooltipText[] = "NO TOOLTIP TEXT";

struct CLaunchItem {
    int nIndex = 0;  // page * (Col * Row) + position on the page
    std::string strTip;
    std::string strCommand;

    bool IsUsed() const { return !strCommand.empty(); }
    // Cleared records stay in memory until the end of the run but are never saved.
    bool IsBlank() const { return strTip.empty() && strCommand.empty(); }
};
