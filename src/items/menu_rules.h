// Content of the launcher's context menu, and the rule for editing an item's command.
#pragma once

#include <optional>
#include <string>
#include <vector>

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
// part no longer occurs in it (multibyte-aware). An empty old program always occurs.
bool CommandTargetChanged(const std::string& oldProgram, const std::string& newCommand);
