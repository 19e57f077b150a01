#include "framework/dialog.h"

INT_PTR Dialog::DoModal(HWND parent) {
    modeless_ = false;
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent, &Dialog::StaticDialogProc,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless(HWND parent) {
    modeless_ = true;
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                              &Dialog::StaticDialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::EndDialog(INT_PTR result) {
    if (!hwnd())
        return;
    if (modeless_)
        ShowWindow(hwnd(), SW_HIDE);
    else
        ::EndDialog(hwnd(), result);
}

BOOL Dialog::BindAndInitialise(HWND hwnd) {
    Attach(hwnd, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)));
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
    return OnInitDialog();
}

INT_PTR CALLBACK Dialog::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Only WM_INITDIALOG is answered here; afterwards the dialog's window procedure is ours and
    // everything else reaches WindowProc before the system's dialog processing.
    if (msg != WM_INITDIALOG)
        return FALSE;
    return reinterpret_cast<Dialog*>(lParam)->BindAndInitialise(hwnd);
}

LRESULT Dialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) {
        WORD id = LOWORD(wParam);
        WORD code = HIWORD(wParam);
        HWND control = reinterpret_cast<HWND>(lParam);
        Window* child = FromHandle(control);
        LRESULT reflected = 0;
        if (child && child != this && child->OnReflectedMessage(msg, wParam, lParam, &reflected))
            return reflected;
        if (OnCommand(id, code, control))
            return 0;
        if (id == IDOK && code == BN_CLICKED) {
            OnOK();
            return 0;
        }
        if (id == IDCANCEL && code == BN_CLICKED) {
            OnCancel();
            return 0;
        }
        return DefaultProc(msg, wParam, lParam);
    }
    return Window::WindowProc(msg, wParam, lParam);
}
