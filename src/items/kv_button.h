// A launcher button: an owner-drawn push button showing one item's icon, with its own tooltip.
#pragma once

#include "framework/window.h"

#include <string>

class CKestrovarSettings;

class CKVButton : public Window {
public:
    CKVButton() = default;
    void SetSettings(CKestrovarSettings* settings) { m_pSettings = settings; }
    int Index() const { return m_nIndex; }

private:
    bool m_bHover = false;
    bool m_bMiddleDown = false;
    int m_nIndex = -1;
    int m_nIconSize = 16;
    HICON m_hIcon = nullptr;  // not owned: the icon store owns it
    std::string m_strCommand;
    CKestrovarSettings* m_pSettings = nullptr;  // not owned
};
