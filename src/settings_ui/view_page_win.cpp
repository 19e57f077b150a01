#include "settings_ui/view_page.h"

#include <vector>

#include "res/resource.h"
#include "settings_ui/theme_list_rules.h"
#include "text/unicode.h"
#include "theme/theme_loader.h"

namespace {

constexpr int kPlainLookIndex = 0;

// The controls that only the plain look uses.
constexpr int kPlainLayoutControls[] = {IDC_VIEW_COLS_EDIT, IDC_VIEW_ROWS_EDIT, IDC_VIEW_COLS_SPIN, IDC_VIEW_ROWS_SPIN,
                                        IDC_VIEW_ICON_SIZE};

}  // namespace

CKestrovarViewPage::CKestrovarViewPage(KestrovarOptions& settings) : SettingsPage(IDD_VIEW_PAGE, settings) {}

BOOL CKestrovarViewPage::OnInitDialog() {
    FillThemeList();
    SendDlgItemMessageW(hwnd(), IDC_VIEW_THEME, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(Wide(settings_.Theme).c_str()));
    const std::string iconSizeText = IconSizeEntryText(settings_.IconSize);
    SendDlgItemMessageW(hwnd(), IDC_VIEW_ICON_SIZE, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(Wide(iconSizeText).c_str()));

    SendDlgItemMessageW(hwnd(), IDC_VIEW_TRANSPARENCY, TBM_SETRANGE, FALSE, MAKELPARAM(kMinOpacity, kMaxOpacity));
    SendDlgItemMessageW(hwnd(), IDC_VIEW_TRANSPARENCY, TBM_SETPOS, TRUE, settings_.WindowTPValue);
    SendDlgItemMessageW(hwnd(), IDC_VIEW_COLS_SPIN, UDM_SETRANGE, 0, MAKELPARAM(kMaxGrid, kMinGrid));
    SendDlgItemMessageW(hwnd(), IDC_VIEW_COLS_SPIN, UDM_SETPOS, 0, MAKELPARAM(settings_.Col, 0));
    SendDlgItemMessageW(hwnd(), IDC_VIEW_ROWS_SPIN, UDM_SETRANGE, 0, MAKELPARAM(kMaxGrid, kMinGrid));
    SendDlgItemMessageW(hwnd(), IDC_VIEW_ROWS_SPIN, UDM_SETPOS, 0, MAKELPARAM(settings_.Row, 0));

    CreatePreview();
    OnThemeSelected();
    SetModified(false);  // the selection handler marked the page
    return TRUE;
}

void CKestrovarViewPage::FillThemeList() {
    // The listing names the folder in its pattern instead of changing the current directory.
    const std::string themes = ThemesFolder();
    if (themes.empty() || GetFileAttributesW(Wide(themes).c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    const std::string pattern = themes + "\\*";
    HWND combo = Item(IDC_VIEW_THEME);
    std::wstring widePattern = Wide(pattern);
    SendMessageW(combo, CB_DIR, DDL_DIRECTORY, reinterpret_cast<LPARAM>(&widePattern[0]));
    // Rewrite in place without re-sorting: the plain look stays at index 0.
    for (int i = 0; i < static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)); ++i) {
        const std::string entry = ThemeEntryFromListing(ComboBoxText(combo, i));
        SendMessageW(combo, CB_DELETESTRING, i, 0);
        SendMessageW(combo, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(Wide(entry).c_str()));
    }
}

void CKestrovarViewPage::CreatePreview() {
    HWND frame = Item(IDC_VIEW_PREVIEW_FRAME);
    preview_.Create(frame, WindowRectIn(frame, frame));
}

void CKestrovarViewPage::OnThemeSelected() {
    SetModified();
    const bool plainLook = SelectedIndex(IDC_VIEW_THEME) == kPlainLookIndex;
    for (int id : kPlainLayoutControls)
        EnableWindow(Item(id), plainLook);
    preview_.SetThemeName(SelectedThemeText());
    preview_.LoadTheme();
    if (preview_.hwnd())
        InvalidateRect(preview_.hwnd(), nullptr, TRUE);
}

bool CKestrovarViewPage::OnCommand(WORD id, WORD code, HWND control) {
    if (code != CBN_SELCHANGE)
        return false;
    if (id == IDC_VIEW_THEME) {
        OnThemeSelected();
        return true;
    }
    if (id == IDC_VIEW_ICON_SIZE) {
        SetModified();
        return true;
    }
    return false;
}

LRESULT CKestrovarViewPage::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        LRESULT result = 0;
        if (header->hwndFrom != GetParent(hwnd()) && OnControlNotify(*header, &result))
            return result;
    }
    return PropertyPageDialog::WindowProc(msg, wParam, lParam);
}

bool CKestrovarViewPage::OnControlNotify(const NMHDR& header, LRESULT* result) {
    if ((header.idFrom == IDC_VIEW_COLS_SPIN || header.idFrom == IDC_VIEW_ROWS_SPIN) && header.code == UDN_DELTAPOS) {
        SetModified();
        *result = 0;  // allow the change
        return true;
    }
    if (header.idFrom == IDC_VIEW_TRANSPARENCY && header.code == NM_CUSTOMDRAW) {
        // The trackbar repaints whenever its thumb moves; a position other than the stored one
        // is an edit. Moving it back does not clear the mark.
        const LRESULT position = SendMessageW(header.hwndFrom, TBM_GETPOS, 0, 0);
        if (position != settings_.WindowTPValue && !IsModified())
            SetModified();
        *result = CDRF_DODEFAULT;
        return true;
    }
    return false;
}

bool CKestrovarViewPage::OnApply() {
    SetModified(false);
    const int theme = SelectedIndex(IDC_VIEW_THEME);
    settings_.Theme = SelectedThemeText();
    settings_.SkinMode = theme == kPlainLookIndex ? 0 : 1;
    settings_.WindowTPValue = static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_VIEW_TRANSPARENCY, TBM_GETPOS, 0, 0));
    if (settings_.SkinMode == 0) {
        const IconSizeChoice choice = IconSizeForSelection(SelectedIndex(IDC_VIEW_ICON_SIZE));
        settings_.IconSize = choice.iconSize;
        settings_.ButtonWidth = choice.buttonSize;
        settings_.ButtonHeight = choice.buttonSize;
        settings_.Col = UpDownPosition(IDC_VIEW_COLS_SPIN);
        settings_.Row = UpDownPosition(IDC_VIEW_ROWS_SPIN);
    }
    return true;
}

std::string CKestrovarViewPage::SelectedThemeText() const {
    const int index = SelectedIndex(IDC_VIEW_THEME);
    // No selection (no themes folder, or a stored theme that begins no entry) names no theme.
    return index < 0 ? std::string() : ComboBoxText(Item(IDC_VIEW_THEME), index);
}

int CKestrovarViewPage::SelectedIndex(int comboId) const {
    return static_cast<int>(SendDlgItemMessageW(hwnd(), comboId, CB_GETCURSEL, 0, 0));
}

int CKestrovarViewPage::UpDownPosition(int id) const {
    return static_cast<short>(LOWORD(SendDlgItemMessageW(hwnd(), id, UDM_GETPOS, 0, 0)));
}
