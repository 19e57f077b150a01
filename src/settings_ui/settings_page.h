// A tab of the settings sheet. Each edits the settings record it is made with: the sheet's
// working copy, which outlives the page.
#pragma once

#include <string>

#include "framework/property_sheet.h"
#include "settings/settings_record.h"

class SettingsPage : public PropertyPageDialog {
protected:
    SettingsPage(int templateId, KestrovarOptions& settings)
        : PropertyPageDialog(templateId, std::string()), settings_(settings) {}

    KestrovarOptions& settings_;  // not owned
};
