// The settings command of the launcher: the sheet runs with the hot keys unregistered, hook
// messages locked and the launcher hidden, so nothing can bring the launcher up over it.
#include "launcher/body_wnd.h"

#include "settings_ui/kestrovar_sheet.h"

void CKestrovarBodyWnd::OpenSettingsSheet() {
    // The launcher still receives messages while the sheet runs; a second settings command
    // (sent by another program) must not stack a second sheet on the same record.
    static bool sheetOpen = false;
    if (sheetOpen)
        return;
    sheetOpen = true;
    // The rebuild after the sheet reloads the item icons only if the sheet changed IconSize.
    iconCache_.NoteLoadedSize();
    RegisterHotKeys(false);
    const bool wasVisible = IsWindowVisible(hwnd()) != FALSE;
    RECT shownAt = {};
    GetWindowRect(hwnd(), &shownAt);
    ShowWindow(hwnd(), SW_HIDE);
    bool accepted = false;
    bool applied = false;
    {
        ModalScope modal(*this);
        CKestrovarSheet sheet(settings_);
        sheet.SetAppliedHandler([this, &applied] {
            applied = true;
            SaveUserChange();
        });
        accepted = sheet.DoModal() == IDOK;
    }
    // Applied changes are rebuilt too, also when the sheet is then cancelled: the window is
    // always sized from the record, and a grid the buttons no longer match would cut them off.
    if (accepted || applied) {
        Rebuild(false);
        SaveUserChange();
        hook_.WheelClickLock(settings_.WheelClickLock);
    }
    // A launcher that was shown comes back where it was, in its new look.
    if (wasVisible) {
        const Size size = LauncherSize();
        SetPlacement(shownAt.left, shownAt.top, size.width, size.height, SWP_SHOWWINDOW);
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    if (accepted)
        SetFocus(hwnd());
    // Applied hot keys take effect whether the sheet was confirmed or cancelled.
    RegisterHotKeys(true);
    sheetOpen = false;
}
