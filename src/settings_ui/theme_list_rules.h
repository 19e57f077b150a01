// Rules of the design page: theme list entries and the icon-size choice.
#pragma once

#include <string>

// Theme list text for one entry of the themes folder's directory listing: a name containing
// a full stop (files, and "[..]") reads as the plain look; "[name]" becomes "name".
std::string ThemeEntryFromListing(const std::string& entry);

struct IconSizeChoice {
    int iconSize;
    int buttonSize;  // width and height of a plain-look button
};

// Icon-size list index 0 is 16 x 16; any other index 32 x 32.
IconSizeChoice IconSizeForSelection(int index);

// Icon-size list text for a size, "16 x 16"; the page selects the entry beginning with it.
std::string IconSizeEntryText(int iconSize);
