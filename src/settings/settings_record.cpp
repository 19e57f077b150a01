#include "settings/settings_record.h"

#include <algorithm>
#include <map>

#include "settings/numbered_keys.h"
#include "settings/numbered_list_save.h"
#include "settings/profile_keys.h"
#include "framework/profile_store.h"

namespace {

using namespace profile_keys;

void ReadInt(ProfileStore& profile, const char* section, const char* key, int& field) {
    field = profile.GetInt(section, key, field);
}

// In descending key order, as probing from the highest index down finds them.
void ReadNameList(ProfileStore& profile, const char* prefix, std::vector<std::string>& list) {
    std::map<int, std::string> values = ReadNumberedValues(profile, kFilter, prefix, kMaxFilterIndex);
    for (auto it = values.rbegin(); it != values.rend(); ++it) {
        if (!it->second.empty())
            list.push_back(std::move(it->second));
    }
}

void WriteNameList(ProfileStore& profile, const char* prefix, const std::vector<std::string>& list) {
    std::map<int, std::string> wanted;
    for (size_t i = 0; i < list.size(); ++i)
        wanted[static_cast<int>(i)] = list[i];
    SaveNumberedList(profile, kFilter, prefix, kMaxFilterIndex, wanted);
}

}  // namespace

void LoadOptions(KestrovarOptions& o, ProfileStore& profile) {
    ReadInt(profile, kStatus, kMemoryPage, o.MemoryPage);
    ReadInt(profile, kStatus, kWheelClickLock, o.WheelClickLock);
    ReadInt(profile, kStatus, kWheelClickTrigger, o.WheelClickTrigger);
    ReadInt(profile, kStatus, kWheelClickSelect, o.WheelClickSelect);
    ReadInt(profile, kStatus, kHideOption, o.HideOption);
    ReadInt(profile, kStatus, kHotkeyShow, o.HotkeyShow);
    ReadInt(profile, kStatus, kHotkeyNext, o.HotkeyNext);
    ReadInt(profile, kStatus, kHotkeyPrev, o.HotkeyPrev);
    ReadInt(profile, kStatus, kShowTaskTrayIcon, o.ShowTaskTrayIcon);
    ReadInt(profile, kStatus, kDoubleClick, o.DoubleClick);

    ReadInt(profile, kDesign, kIconSize, o.IconSize);
    o.IconSize = std::clamp(o.IconSize, kMinIconSize, kMaxIconSize);
    ReadInt(profile, kDesign, kButtonSpace, o.ButtonSpace);
    ReadInt(profile, kDesign, kButtonWidth, o.ButtonWidth);
    ReadInt(profile, kDesign, kButtonHeight, o.ButtonHeight);
    ReadInt(profile, kDesign, kCol, o.Col);
    ReadInt(profile, kDesign, kRow, o.Row);
    ReadInt(profile, kDesign, kWindowTPValue, o.WindowTPValue);
    ReadInt(profile, kDesign, kSkinMode, o.SkinMode);
    o.Theme = profile.GetString(kDesign, kTheme, o.Theme);

    ReadItems(o.Items, profile);
    ReadNameList(profile, kClassNamePrefix, o.IgnoredClassNames);
    ReadNameList(profile, kWindowNamePrefix, o.IgnoredWindowNames);
}

void SaveOptions(const KestrovarOptions& o, ProfileStore& profile) {
    profile.WriteInt(kStatus, kMemoryPage, o.MemoryPage);
    profile.WriteInt(kStatus, kWheelClickLock, o.WheelClickLock);
    profile.WriteInt(kStatus, kWheelClickTrigger, o.WheelClickTrigger);
    profile.WriteInt(kStatus, kWheelClickSelect, o.WheelClickSelect);
    profile.WriteInt(kStatus, kHideOption, o.HideOption);
    profile.WriteInt(kStatus, kHotkeyShow, o.HotkeyShow);
    profile.WriteInt(kStatus, kHotkeyNext, o.HotkeyNext);
    profile.WriteInt(kStatus, kHotkeyPrev, o.HotkeyPrev);
    profile.WriteInt(kStatus, kDoubleClick, o.DoubleClick);

    WriteItems(o.Items, profile);

    profile.WriteInt(kDesign, kSkinMode, o.SkinMode);
    profile.WriteString(kDesign, kTheme, o.Theme);
    profile.WriteInt(kDesign, kIconSize, o.IconSize);
    profile.WriteInt(kDesign, kButtonSpace, o.ButtonSpace);
    profile.WriteInt(kDesign, kButtonWidth, o.ButtonWidth);
    profile.WriteInt(kDesign, kButtonHeight, o.ButtonHeight);
    profile.WriteInt(kDesign, kCol, o.Col);
    profile.WriteInt(kDesign, kRow, o.Row);
    profile.WriteInt(kDesign, kWindowTPValue, o.WindowTPValue);

    WriteNameList(profile, kClassNamePrefix, o.IgnoredClassNames);
    WriteNameList(profile, kWindowNamePrefix, o.IgnoredWindowNames);
}
