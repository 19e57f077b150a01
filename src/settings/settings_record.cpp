#include "settings/settings_record.h"

#include <algorithm>
#include <map>

#include "settings/numbered_keys.h"
#include "settings/numbered_list_save.h"
#include "settings/profile_keys.h"
#include "framework/profile_store.h"

namespace {

using namespace profile_keys;

// How the save treats a field: the look (skin mode and theme name) goes ahead of its section.
enum class Save { InOrder, First, Never };

// One persisted scalar field: an integer, or the text when number is null.
struct ProfileField {
    const char* key;
    int KestrovarOptions::*number;
    std::string KestrovarOptions::*text;
    Save save;
};

constexpr ProfileField Number(const char* key, int KestrovarOptions::*field, Save save = Save::InOrder) {
    return {key, field, nullptr, save};
}

// Each section's fields in the order they are read.
constexpr ProfileField kStatusFields[] = {
    Number(kMemoryPage, &KestrovarOptions::MemoryPage),
    Number(kWheelClickLock, &KestrovarOptions::WheelClickLock),
    Number(kWheelClickTrigger, &KestrovarOptions::WheelClickTrigger),
    Number(kWheelClickSelect, &KestrovarOptions::WheelClickSelect),
    Number(kHideOption, &KestrovarOptions::HideOption),
    Number(kHotkeyShow, &KestrovarOptions::HotkeyShow),
    Number(kHotkeyNext, &KestrovarOptions::HotkeyNext),
    Number(kHotkeyPrev, &KestrovarOptions::HotkeyPrev),
    // Only ever edited by hand.
    Number(kShowTaskTrayIcon, &KestrovarOptions::ShowTaskTrayIcon, Save::Never),
    Number(kDoubleClick, &KestrovarOptions::DoubleClick),
};

constexpr ProfileField kDesignFields[] = {
    Number(kIconSize, &KestrovarOptions::IconSize),
    Number(kButtonSpace, &KestrovarOptions::ButtonSpace),
    Number(kButtonWidth, &KestrovarOptions::ButtonWidth),
    Number(kButtonHeight, &KestrovarOptions::ButtonHeight),
    Number(kCol, &KestrovarOptions::Col),
    Number(kRow, &KestrovarOptions::Row),
    Number(kWindowTPValue, &KestrovarOptions::WindowTPValue),
    Number(kSkinMode, &KestrovarOptions::SkinMode, Save::First),
    {kTheme, nullptr, &KestrovarOptions::Theme, Save::First},
};

template <size_t N>
void ReadFields(KestrovarOptions& o, ProfileStore& profile, const char* section, const ProfileField (&fields)[N]) {
    for (const ProfileField& f : fields) {
        if (f.number)
            o.*f.number = profile.GetInt(section, f.key, o.*f.number);
        else
            o.*f.text = profile.GetString(section, f.key, o.*f.text);
    }
}

template <size_t N>
void WriteFields(const KestrovarOptions& o, ProfileStore& profile, const char* section,
                 const ProfileField (&fields)[N]) {
    for (const Save pass : {Save::First, Save::InOrder}) {
        for (const ProfileField& f : fields) {
            if (f.save != pass)
                continue;
            if (f.number)
                profile.WriteInt(section, f.key, o.*f.number);
            else
                profile.WriteString(section, f.key, o.*f.text);
        }
    }
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
    ReadFields(o, profile, kStatus, kStatusFields);
    ReadFields(o, profile, kDesign, kDesignFields);
    // An icon size read from the profile is held to the bounds of a theme's: the icons, the plain
    // button size and the icon data file all follow IconSize.
    o.IconSize = std::clamp(o.IconSize, ThemeLimits::kMinIconSize, ThemeLimits::kMaxIconSize);

    ReadItems(o.Items, profile);
    ReadNameList(profile, kClassNamePrefix, o.IgnoredClassNames);
    ReadNameList(profile, kWindowNamePrefix, o.IgnoredWindowNames);
}

void SaveOptions(const KestrovarOptions& o, ProfileStore& profile) {
    const ProfileWriteBatch pass(profile);
    WriteFields(o, profile, kStatus, kStatusFields);
    WriteItems(o.Items, profile);
    WriteFields(o, profile, kDesign, kDesignFields);
    WriteNameList(profile, kClassNamePrefix, o.IgnoredClassNames);
    WriteNameList(profile, kWindowNamePrefix, o.IgnoredWindowNames);
}
