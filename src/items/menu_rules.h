// Content of the launcher's context menu, and the rule for editing an item's command.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "text/cmdline.h"

struct MenuEntry {
    enum Kind { kCommand, kSeparator, kSubmenu };

    Kind kind = kCommand;
    int id = 0;  // kCommand only
    std::string text;
    bool checked = false;
    std::vector<MenuEntry> children;  // kSubmenu only
};

struct MenuContext {
    bool onButton = false;                // right click on a launcher button, not on the background
    int clickedIndex = 0;                 // item index of that button
    int highestUsedIndex = 0;             // ItemList::HighestUsedIndex()
    bool hasRecord = false;               // ItemList::HasItem(clickedIndex)
    std::vector<std::string> themeNames;  // theme folders in enumeration order
    bool skinMode = false;
    std::string themeName;  // the Theme setting
};

// Theme folders beyond this many are left out of the menu so that their command ids stay
// below the other command ids of the window and within a menu id's 16 bits.
inline constexpr int kMaxThemeMenuEntries = 1000;

std::vector<MenuEntry> BuildLauncherMenu(const MenuContext& context);

// Enumeration index of a theme command id, or nullopt for other ids.
std::optional<int> ThemeIndexFromCommand(int id);

// Whether an edited command names a different target than before: the old command's program
// part no longer occurs in it. An empty old program always occurs.
bool CommandTargetChanged(const std::string& oldProgram, const std::string& newCommand);

// The profile keeps an item as "tooltip*command" and drops values that do not split into two
// non-empty texts at the '*'s, so edited texts are made storable before they reach the list.

// A tooltip as it can be stored for an item with the given command: every '*' becomes the
// full-width asterisk, and an empty tooltip of a used item becomes kNoTooltipText (shown as no
// tooltip) so that the item is not lost. A blank record keeps its empty tooltip.
std::string StorableTooltip(const std::string& tip, const std::string& command);

// Whether a command typed by the user can be stored: it must not contain '*'. (No path can
// hold one; the empty command, which blanks the item, is storable.)
bool IsStorableCommand(const std::string& command);

// The tooltip after the command of an item was edited from oldCommand to newCommand, both
// split into program and parameters through probe: unchanged while the new command still
// contains the old program part, otherwise the description of the new program part (the
// whole command when it has none) or newCommand itself when there is no description, made
// storable. An emptied command empties the tooltip as well (the slot becomes blank); an item
// without a tooltip gets one from its new command. Used by both editors of an item's command,
// the context menu and the registered applications page.
std::string TooltipAfterCommandEdit(const std::string& oldTip,
                                    const std::string& oldCommand,
                                    const std::string& newCommand,
                                    const PathProbe& probe,
                                    const std::function<std::string(const std::string&)>& describe);
