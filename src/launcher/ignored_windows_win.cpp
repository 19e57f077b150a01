#include "launcher/body_wnd.h"

bool CKestrovarBodyWnd::IsIgnored(HWND topLevel) {
    return false;
}
