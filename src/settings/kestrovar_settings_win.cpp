#include "settings/kestrovar_settings.h"

#include <utility>

#include "framework/dib_canvas.h"

CKestrovarSettings::CKestrovarSettings(ProfileStore& profile) : profile_(profile) {
    LoadOptions(*this, profile_);
}

CKestrovarSettings::~CKestrovarSettings() {
    ReleaseSkin();
}

void CKestrovarSettings::SaveSettings() {
    SaveOptions(*this, profile_);
}

int CKestrovarSettings::LoadTheme() {
    ReleaseSkin();
    Skin = ReadThemeDefinition(ThemesHome(), Theme);
    ColorKey = Skin.ColorKey;
    if (!Skin.BodyNamed)
        return 0;

    if (Skin.Button) {
        const SIZE size = BitmapSize(Skin.Button.get());
        ButtonWidth = size.cx;
        ButtonHeight = size.cy;
    }
    IconSize = Skin.Layout.IconSize;
    ButtonSpace = Skin.Layout.ButtonSpace;
    Col = Skin.Layout.XButton;
    Row = Skin.Layout.YButton;
    ButtonOriginX = Skin.Layout.X;
    ButtonOriginY = Skin.Layout.Y;
    return 1;
}

// All or nothing: a body enlarged without its buttons would not match them.
bool CKestrovarSettings::EnlargeSkin(int factor) {
    UniqueBitmap* bitmaps[] = {&Skin.Body, &Skin.Button, &Skin.ButtonOnMouse, &Skin.ButtonDown};
    UniqueBitmap large[4];
    for (size_t i = 0; i < 4; ++i) {
        if (*bitmaps[i] && !(large[i] = EnlargedBitmap(bitmaps[i]->get(), factor)))
            return false;
    }
    for (size_t i = 0; i < 4; ++i) {
        if (large[i])
            *bitmaps[i] = std::move(large[i]);
    }
    return true;
}

void CKestrovarSettings::ReleaseSkin() {
    Skin = ThemeDefinition{};
    ColorKey = kNoColorKey;
    ButtonOriginX = 0;
    ButtonOriginY = 0;
}
