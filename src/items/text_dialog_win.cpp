#include "items/text_dialog.h"

#include "framework/application.h"
#include "res/resource.h"

CTextDialog::CTextDialog(HWND parent) : Dialog(IDD_TEXT), parent_(parent) {}

INT_PTR CTextDialog::DoModal() {
    HWND owner = parent_;
    if (!owner && Application::Current())
        owner = Application::Current()->MainWindowHandle();
    return Dialog::DoModal(owner);
}

BOOL CTextDialog::OnInitDialog() {
    SetWindowTextA(hwnd(), m_strTitle.c_str());
    SetItemText(IDC_TEXT_EDIT, m_strText);
    return TRUE;  // the system focuses the first tab stop: the OK button
}

void CTextDialog::OnOK() {
    m_strText = ItemText(IDC_TEXT_EDIT);
    EndDialog(IDOK);
}
