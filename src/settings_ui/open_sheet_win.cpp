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
    lastLoadIconSize_ = settings_.IconSize;
    RegisterHotKeys(false);
    hook_.LockMessage(1);
    const bool wasVisible = IsWindowVisible(hwnd()) != FALSE;
    ShowWindow(hwnd(), SW_HIDE);
    {
        CKestrovarSheet sheet;
        sheet.SetSettings(&settings_);
        if (sheet.DoModal() == IDOK) {
            Rebuild(false);
            SetFocus(hwnd());
            hook_.WheelClickLock(settings_.WheelClickLock);
        } else if (wasVisible) {
            ShowWindow(hwnd(), SW_SHOW);
        }
    }
    // Applied hot keys take effect whether the sheet was confirmed or cancelled.
    RegisterHotKeys(true);
    hook_.LockMessage(0);
    sheetOpen = false;
}
