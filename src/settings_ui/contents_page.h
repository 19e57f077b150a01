// Tab 2 of the settings sheet: every item slot from 0 to the highest registered one as a row of
// a list view, with moving, emptying and editing. The item list is rebuilt from the rows on apply.
#pragma once

#include <map>
#include <string>

#include "framework/handles.h"
#include "settings_ui/contents_rows.h"
#include "settings_ui/settings_page.h"

class CKestrovarContentsPage : public SettingsPage {
public:
    explicit CKestrovarContentsPage(KestrovarOptions& settings);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The image-list growth step: the list is sized for the rows when it is made, so a large
    // step would only reserve memory that is never used.
    static constexpr int kImageListGrowth = 16;

protected:
    BOOL OnInitDialog() override;
    bool OnApply() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void SetUpColumns();
    void SetUpImageList();
    void FillRows();
    // Writes row r of the model into the list view and its image into image r.
    void ShowRow(size_t row);
    int SelectedRow() const;
    void SelectRow(int row);

    void MoveSelected(int step);
    void DeleteSelected();
    void EditSelectedCommand();
    void EditSelectedTip();

    // The icon of a command, obtained once per command and kept until the page is destroyed;
    // the default item icon for an empty command or one the shell has no icon for.
    HICON IconFor(const std::string& command);
    int ListIconSize() const;
    HICON DefaultIcon();
    void ReleaseIcons();

    HWND list_ = nullptr;  // not owned: control of this page
    ContentsRows rows_;
    UniqueImageList images_;
    std::map<std::string, UniqueIcon> icons_;
    UniqueIcon defaultIcon_;
};
