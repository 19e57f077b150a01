// The one-line text entry dialog: the caller sets the title and the initial text, runs it
// modally and, on IDOK, reads the entered text back.
#pragma once

#include "framework/dialog.h"

#include <string>

class CTextDialog : public Dialog {
public:
    // With no parent the application's main window (the launcher window) owns the dialog.
    explicit CTextDialog(HWND parent = nullptr);

    INT_PTR DoModal();

    std::string m_strText;
    std::string m_strTitle;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    HWND parent_;  // not owned
};
