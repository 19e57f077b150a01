// Tab 4 of the settings sheet: the ignored class names and window titles, with a snapshot of
// the current top-level windows to pick class names from.
#pragma once

#include <string>

#include "framework/handles.h"
#include "settings_ui/settings_page.h"

class CKestrovarFilterPage : public SettingsPage {
public:
    explicit CKestrovarFilterPage(KestrovarOptions& settings);

    // How long a window may take to answer the icon query before its class icon is used, so
    // that a hung program cannot freeze the page.
    static constexpr UINT kIconQueryTimeoutMs = 100;

protected:
    BOOL OnInitDialog() override;
    bool OnApply() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void SetUpWindowList();
    void EnumerateWindows();
    void AddWindowRow(HWND window);
    void Refresh();
    void AddSelectedClass();
    void EditSelectedEntry(int listId, const char* title);
    void DeleteSelectedEntry(int listId);
    void AddWindowName();
    void UpdateEnabledState();

    static BOOL CALLBACK EnumWindowProc(HWND window, LPARAM self);

    UniqueImageList images_;
    HWND windowList_ = nullptr;  // not owned: control of this page
};
