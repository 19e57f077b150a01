// The settings record of the running program: the persisted options with the skin bitmaps
// of the current theme. Constructing it reads the profile; SaveSettings writes it back.
#pragma once

#include "framework/handles.h"
#include "framework/profile_store.h"
#include "settings/settings_record.h"

class CKestrovarSettings : public KestrovarOptions {
public:
    explicit CKestrovarSettings(ProfileStore& profile);
    ~CKestrovarSettings();
    CKestrovarSettings(const CKestrovarSettings&) = delete;
    CKestrovarSettings& operator=(const CKestrovarSettings&) = delete;

    void SaveSettings();

    // Reads the theme named by Theme into the skin fields. Returns 1 when BodyImage was named.
    int LoadTheme();
    // Replaces the skin bitmaps by copies enlarged by a whole factor (see EnlargedBitmap), all
    // of them or, when one cannot be enlarged, none (false); the layout values stay the theme
    // file's.
    bool EnlargeSkin(int factor);
    // Deletes the skin bitmaps, clears the colour key and the button origin.
    void ReleaseSkin();

    UniqueBitmap BodyBitmap;
    UniqueBitmap ButtonBitmap;
    UniqueBitmap ButtonOnMouseBitmap;
    UniqueBitmap ButtonDownBitmap;

private:
    ProfileStore& profile_;
};
