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

// The two edits of an item's texts, shared by the context menu and the registered applications
// page. Each runs the dialog modally, owned by owner, on the text and returns false when the
// user cancels (the text is then unchanged).

// The tooltip edit. The entered text is returned as typed; StorableTooltip makes it storable.
bool EditItemTooltip(HWND owner, std::string& tip);

// The command edit. A command the profile cannot store (with '*') is refused with a message
// box and offered again as typed, until the user enters a storable one or cancels.
bool EditItemCommand(HWND owner, std::string& command);
