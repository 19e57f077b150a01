#include "launcher/body_wnd.h"

#include "items/command_ids.h"

void CKestrovarBodyWnd::OnContextMenu(HWND clicked, POINT screenPoint) {}

bool CKestrovarBodyWnd::OnMenuCommand(int id) {
    switch (id) {
        case kCmdQuit:
            DestroyWindow();
            return true;
        default:
            return false;
    }
}
