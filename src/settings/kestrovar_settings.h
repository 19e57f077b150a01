// The settings record of the running program: the persisted options with the skin bitmaps
// of the current theme. Constructing it reads the profile; SaveSettings writes it back.
#pragma once

#include "framework/handles.h"
#include "framework/profile_store.h"
#include "settings/settings_record.h"
#include "theme/theme_loader.h"

class CKestrovarSettings : public KestrovarOptions {
public:
    explicit CKestrovarSettings(ProfileStore& profile);
    ~CKestrovarSettings();
    CKestrovarSettings(const CKestrovarSettings&) = delete;
    CKestrovarSettings& operator=(const CKestrovarSettings&) = delete;

    void SaveSettings();

    // Reads the theme named by Theme into Skin and its layout into the profile fields. Returns 1
    // when BodyImage was named.
    int LoadTheme();
    // Replaces the skin bitmaps by copies enlarged by a whole factor (see EnlargedBitmap), all
    // of them or, when one cannot be enlarged, none (false); the layout values stay the theme
    // file's.
    bool EnlargeSkin(int factor);
    // Deletes the skin bitmaps, clears the colour key and the button origin.
    void ReleaseSkin();

    // The theme the launcher shows, with its bitmaps; none loaded in the plain look.
    ThemeDefinition Skin;

private:
    ProfileStore& profile_;
};
