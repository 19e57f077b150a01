#include "launcher/body_wnd.h"

#include "items/command_ids.h"
#include "launcher/messages.h"

LRESULT CKestrovarBodyWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_QUERYENDSESSION:
            RunShutdownSequence();
            break;
        case WM_DESTROY: {
            LRESULT result = Dialog::WindowProc(msg, wParam, lParam);
            OnDestroy();
            return result;
        }
        case WM_COMMAND:
            if (OnMenuCommand(LOWORD(wParam)))
                return 0;
            break;
        default:
            break;
    }
    return Dialog::WindowProc(msg, wParam, lParam);
}

bool CKestrovarBodyWnd::PreTranslateMessage(MSG* msg) {
    return false;
}

void CKestrovarBodyWnd::PageStep(int step) {}
