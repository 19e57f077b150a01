// Tab 3 of the settings sheet: theme (or the plain look), icon size, opacity and, for the
// plain look, the grid size, with a preview of the selected theme.
#pragma once

#include <string>

#include "settings_ui/settings_page.h"
#include "theme/image_wnd.h"

class CKestrovarViewPage : public SettingsPage {
public:
    explicit CKestrovarViewPage(KestrovarOptions& settings);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    static constexpr int kMinOpacity = 10;
    static constexpr int kMaxOpacity = 255;
    static constexpr int kMinGrid = 1;
    static constexpr int kMaxGrid = 20;

protected:
    BOOL OnInitDialog() override;
    bool OnApply() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void FillThemeList();
    void CreatePreview();
    void OnThemeSelected();
    // Returns true when the notification was handled, with its result.
    bool OnControlNotify(const NMHDR& header, LRESULT* result);
    std::string SelectedThemeText() const;
    int SelectedIndex(int comboId) const;
    int UpDownPosition(int id) const;

    CImageWnd preview_;
};
