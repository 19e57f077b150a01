#include "settings_ui/option_page.h"

#include "framework/application.h"
#include "res/resource.h"
#include "settings/startup_entry.h"

namespace {

// A click on a control arrives as WM_COMMAND with the control id and notification code 0.
constexpr WPARAM ClickOf(int id) {
    return static_cast<WPARAM>(id);
}

constexpr char kStartupNotChangedMessage[] = "Windowsの起動時にKestrovarを起動する設定を変更できませんでした。";

}  // namespace

CKestrovarOptionPage::CKestrovarOptionPage(KestrovarOptions& settings)
    : SettingsPage(IDD_OPTION_PAGE, settings) {}

BOOL CKestrovarOptionPage::OnInitDialog() {
    SetChecked(IDC_OPTION_MEMORY_PAGE, settings_.MemoryPage != 0);
    SetChecked(IDC_OPTION_WHEEL_LOCK, settings_.WheelClickLock != 0);
    SetChecked(IDC_OPTION_WHEEL_SHOW, settings_.WheelClickTrigger != 0);
    SetChecked(IDC_OPTION_WHEEL_SELECT, settings_.WheelClickSelect != 0);
    SetChecked(IDC_OPTION_HIDE, settings_.HideOption != 0);
    SetChecked(IDC_OPTION_START_WITH_WINDOWS, IsStartedWithWindows());
    startupTouched_ = false;
    if (settings_.WheelClickTrigger == 0)
        EnableClickRadios(false);
    SetChecked(IDC_OPTION_SINGLE_CLICK, settings_.DoubleClick == 0);
    SetChecked(IDC_OPTION_DOUBLE_CLICK, settings_.DoubleClick != 0);
    // The stored value is the control's own word: key in the low byte, modifiers in the next.
    SendDlgItemMessageW(hwnd(), IDC_OPTION_HOTKEY_SHOW, HKM_SETHOTKEY, settings_.HotkeyShow & 0xFFFF, 0);
    SendDlgItemMessageW(hwnd(), IDC_OPTION_HOTKEY_NEXT, HKM_SETHOTKEY, settings_.HotkeyNext & 0xFFFF, 0);
    SendDlgItemMessageW(hwnd(), IDC_OPTION_HOTKEY_PREV, HKM_SETHOTKEY, settings_.HotkeyPrev & 0xFFFF, 0);
    return TRUE;
}

LRESULT CKestrovarOptionPage::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND)
        TrackChange(wParam);
    return PropertyPageDialog::WindowProc(msg, wParam, lParam);
}

void CKestrovarOptionPage::TrackChange(WPARAM command) {
    switch (command) {
        case ClickOf(IDC_OPTION_WHEEL_SHOW):
            EnableClickRadios(IsChecked(IDC_OPTION_WHEEL_SHOW));
            SetModified();
            break;
        case ClickOf(IDC_OPTION_START_WITH_WINDOWS):
            startupTouched_ = true;
            SetModified();
            break;
        case ClickOf(IDC_OPTION_HIDE):
        case ClickOf(IDC_OPTION_WHEEL_LOCK):
        case ClickOf(IDC_OPTION_WHEEL_SELECT):
        case ClickOf(IDC_OPTION_MEMORY_PAGE):
            SetModified();
            break;
        default:
            // Hot-key controls report each change as a command of their own.
            if (HotkeysDifferFromStored())
                SetModified();
            break;
    }
}

bool CKestrovarOptionPage::OnCommand(WORD id, WORD code, HWND control) {
    if ((id == IDC_OPTION_SINGLE_CLICK || id == IDC_OPTION_DOUBLE_CLICK) && code == BN_CLICKED) {
        SetModified();
        return true;
    }
    return false;
}

bool CKestrovarOptionPage::OnApply() {
    SetModified(false);
    settings_.MemoryPage = IsChecked(IDC_OPTION_MEMORY_PAGE) ? 1 : 0;
    settings_.WheelClickLock = IsChecked(IDC_OPTION_WHEEL_LOCK) ? 1 : 0;
    settings_.WheelClickTrigger = IsChecked(IDC_OPTION_WHEEL_SHOW) ? 1 : 0;
    settings_.WheelClickSelect = IsChecked(IDC_OPTION_WHEEL_SELECT) ? 1 : 0;
    settings_.DoubleClick = IsChecked(IDC_OPTION_DOUBLE_CLICK) ? 1 : 0;
    settings_.HideOption = IsChecked(IDC_OPTION_HIDE) ? 1 : 0;
    settings_.HotkeyNext = HotkeyOf(IDC_OPTION_HOTKEY_NEXT);
    settings_.HotkeyPrev = HotkeyOf(IDC_OPTION_HOTKEY_PREV);
    settings_.HotkeyShow = HotkeyOf(IDC_OPTION_HOTKEY_SHOW);
    ApplyStartWithWindows();
    return true;
}

// Checked, the Run value is written each time, which also points a value left by a moved program
// at this one. Unchecked, it is removed when it names this program or when the user cleared the
// box: a value of another copy of the program, left untouched, stays that copy's.
void CKestrovarOptionPage::ApplyStartWithWindows() {
    const bool start = IsChecked(IDC_OPTION_START_WITH_WINDOWS);
    if (!start && !startupTouched_ && !IsStartedWithWindows())
        return;
    if (!SetStartedWithWindows(start))
        ShowMessageBox(hwnd(), kStartupNotChangedMessage, ExecutableBaseName(), MB_OK);
    startupTouched_ = false;
    SetChecked(IDC_OPTION_START_WITH_WINDOWS, IsStartedWithWindows());
}

void CKestrovarOptionPage::EnableClickRadios(bool enable) {
    EnableWindow(Item(IDC_OPTION_SINGLE_CLICK), enable);
    EnableWindow(Item(IDC_OPTION_DOUBLE_CLICK), enable);
}

bool CKestrovarOptionPage::IsChecked(int id) const {
    return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED;
}

void CKestrovarOptionPage::SetChecked(int id, bool checked) {
    CheckDlgButton(hwnd(), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

int CKestrovarOptionPage::HotkeyOf(int id) const {
    return static_cast<int>(SendDlgItemMessageW(hwnd(), id, HKM_GETHOTKEY, 0, 0) & 0xFFFF);
}

bool CKestrovarOptionPage::HotkeysDifferFromStored() const {
    return HotkeyOf(IDC_OPTION_HOTKEY_NEXT) != settings_.HotkeyNext ||
           HotkeyOf(IDC_OPTION_HOTKEY_PREV) != settings_.HotkeyPrev ||
           HotkeyOf(IDC_OPTION_HOTKEY_SHOW) != settings_.HotkeyShow;
}
