// Tab 1 of the settings sheet: how the wheel button brings up the launcher, what a wheel
// click does, hiding after a launch, page memory, starting with Windows and the three global hot
// keys.
#pragma once

#include "settings_ui/settings_page.h"

class CKestrovarOptionPage : public SettingsPage {
public:
    explicit CKestrovarOptionPage(KestrovarOptions& settings);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    BOOL OnInitDialog() override;
    bool OnApply() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    // Marks the page changed for the commands that edit it; runs before the command dispatch.
    void TrackChange(WPARAM command);
    void EnableClickRadios(bool enable);
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    int HotkeyOf(int id) const;
    bool HotkeysDifferFromStored() const;
    void ApplyStartWithWindows();

    bool startupTouched_ = false;  // the user clicked the start-with-Windows box since the last Apply
};
