#include "settings_ui/theme_list_rules.h"

#include "settings/settings_record.h"
#include "text/cmdline.h"

std::string ThemeEntryFromListing(const std::string& entry) {
    if (entry.find('.') != std::string::npos)
        return kPlainThemeName;
    std::string name = entry;
    ReplaceFirst("[", " ", name);
    ReplaceFirst("]", " ", name);
    TrimSpaces(name);
    return name;
}

IconSizeChoice IconSizeForSelection(int index) {
    // A plain-look button leaves 3 pixels around its icon.
    return index == 0 ? IconSizeChoice{16, 22} : IconSizeChoice{32, 38};
}

std::string IconSizeEntryText(int iconSize) {
    const std::string size = std::to_string(iconSize);
    return size + " x " + size;
}
