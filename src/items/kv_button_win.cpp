#include "items/kv_button.h"

CKVButton::~CKVButton() = default;

bool CKVButton::CreateButton(HWND parent, const RECT& rect, int controlId) {
    return false;
}

void CKVButton::SetButtonItem(int index, const std::string& command, const std::string& tip, HICON icon,
                              int iconSize) {}

LRESULT CKVButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return Window::WindowProc(msg, wParam, lParam);
}

bool CKVButton::PreTranslateMessage(MSG* msg) {
    return false;
}

bool CKVButton::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return false;
}
