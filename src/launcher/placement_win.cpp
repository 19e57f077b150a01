#include "launcher/body_wnd.h"

void CKestrovarBodyWnd::ShowAtCursor() {}

void CKestrovarBodyWnd::Hide() {}

void CKestrovarBodyWnd::Toggle() {}

void CKestrovarBodyWnd::ForceForeground(HWND window) {}
