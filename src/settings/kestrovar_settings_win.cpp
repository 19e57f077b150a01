#include "settings/kestrovar_settings.h"

CKestrovarSettings::CKestrovarSettings(ProfileStore& profile) : profile_(profile) {
    LoadOptions(*this, profile_);
}

CKestrovarSettings::~CKestrovarSettings() {
    ReleaseSkin();
}

void CKestrovarSettings::SaveSettings() {
    SaveOptions(*this, profile_);
}
