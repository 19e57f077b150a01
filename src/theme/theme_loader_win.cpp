#include "settings/kestrovar_settings.h"

int CKestrovarSettings::LoadTheme() {
    ReleaseSkin();
    return 0;
}

void CKestrovarSettings::ReleaseSkin() {
    BodyBitmap.reset();
    ButtonBitmap.reset();
    ButtonOnMouseBitmap.reset();
    ButtonDownBitmap.reset();
    ColorKey = 0xFFFFFFFF;
    ButtonOriginX = 0;
    ButtonOriginY = 0;
}
