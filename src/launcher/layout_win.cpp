#include "launcher/body_wnd.h"

#include "items/kv_button.h"

void CKestrovarBodyWnd::Rebuild(bool initial) {}

void CKestrovarBodyWnd::CreateButtons() {}

bool CKestrovarBodyWnd::ShowPage(int page) {
    return false;
}

void CKestrovarBodyWnd::ApplyTransparency() {}

void CKestrovarBodyWnd::PaintPlainBackground() {}

void CKestrovarBodyWnd::EnumerateMonitors() {}
