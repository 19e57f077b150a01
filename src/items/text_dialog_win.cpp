#include "items/text_dialog.h"

#include "framework/application.h"
#include "items/menu_rules.h"
#include "res/resource.h"

namespace {

constexpr char kEditTipTitle[] = "ﾂｰﾙﾁｯﾌﾟﾃｷｽﾄの編集";
constexpr char kEditCommandTitle[] = "起動ｺﾏﾝﾄﾞの編集";
constexpr char kUnstorableCommandMessage[] = "起動ｺﾏﾝﾄﾞに「*」は使えません。";

bool RunTextDialog(HWND owner, const char* title, std::string& text) {
    CTextDialog dialog(owner);
    dialog.m_strTitle = title;
    dialog.m_strText = text;
    if (dialog.DoModal() != IDOK)
        return false;
    text = dialog.m_strText;
    return true;
}

}  // namespace

CTextDialog::CTextDialog(HWND parent) : Dialog(IDD_TEXT), parent_(parent) {}

INT_PTR CTextDialog::DoModal() {
    HWND owner = parent_;
    if (!owner && Application::Current())
        owner = Application::Current()->MainWindowHandle();
    return Dialog::DoModal(owner);
}

BOOL CTextDialog::OnInitDialog() {
    SetTextOf(hwnd(), m_strTitle);
    SetItemText(IDC_TEXT_EDIT, m_strText);
    return TRUE;  // the system focuses the first tab stop: the OK button
}

void CTextDialog::OnOK() {
    m_strText = ItemText(IDC_TEXT_EDIT);
    EndDialog(IDOK);
}

bool EditItemTooltip(HWND owner, std::string& tip) {
    return RunTextDialog(owner, kEditTipTitle, tip);
}

bool EditItemCommand(HWND owner, std::string& command) {
    std::string typed = command;
    for (;;) {
        if (!RunTextDialog(owner, kEditCommandTitle, typed))
            return false;
        if (IsStorableCommand(typed))
            break;
        ShowMessageBox(owner, kUnstorableCommandMessage, ExecutableBaseName(), MB_OK);
    }
    command = typed;
    return true;
}
