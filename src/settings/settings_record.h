// The persisted options of the launcher and their profile load and save.
//
// Field names are the profile value names. CKestrovarSettings (Win32 side) derives from this
// record and adds the skin bitmaps of the current theme.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/item_list.h"
#include "theme/theme_values.h"

class ProfileStore;

// Theme name of the plain look (half-width katakana), as stored and as shown in menus.
inline constexpr char kPlainThemeName[] = "ﾃﾞﾌｫﾙﾄ";
// Theme name of an empty profile (full-width katakana); a different string from the above.
inline constexpr char kProfileDefaultThemeName[] = "デフォルト";

inline constexpr uint32_t kNoColorKey = 0xFFFFFFFF;

struct KestrovarOptions {
    int SkinMode = 0;
    int MemoryPage = 0;
    int WheelClickLock = 0;
    int WheelClickTrigger = 1;
    int WheelClickSelect = 0;
    int HideOption = 1;
    int HotkeyShow = 0x451;  // Alt+Q
    int HotkeyNext = 0x457;  // Alt+W
    int HotkeyPrev = 0x445;  // Alt+E
    int ShowTaskTrayIcon = 1;
    int DoubleClick = 0;
    int IconSize = 16;
    int ButtonSpace = 3;
    int ButtonWidth = 22;
    int ButtonHeight = 22;
    int Col = 6;
    int Row = 2;
    int WindowTPValue = 255;
    std::string Theme = kProfileDefaultThemeName;

    // Filled by the theme loader, never persisted.
    uint32_t ColorKey = kNoColorKey;
    int ButtonOriginX = 0;
    int ButtonOriginY = 0;

    ItemList Items;
    std::vector<std::string> IgnoredClassNames;
    std::vector<std::string> IgnoredWindowNames;
};

// Reads every persisted field (absent values keep the defaults above) and appends the items and
// the ignored names found in the profile.
void LoadOptions(KestrovarOptions& options, ProfileStore& profile);

// Writes every persisted field except ShowTaskTrayIcon, which only the user edits by hand.
// Afterwards the numbered lists in the profile hold exactly the lists of the record.
void SaveOptions(const KestrovarOptions& options, ProfileStore& profile);
