// The version dialog of the context menu: the program's version line and the version of the
// pointer-hook library.
#pragma once

#include "framework/dialog.h"

#include <string>

class CAboutDialog : public Dialog {
public:
    CAboutDialog();

    // "Kestrovar.dll v" followed by the library's FileVersion string (nothing when unreadable).
    static std::string LibraryVersionText();

protected:
    BOOL OnInitDialog() override;
};
