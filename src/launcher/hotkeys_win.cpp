#include "launcher/body_wnd.h"

#include "items/hotkey_rules.h"

namespace {
void RegisterOne(HWND window, int id, int setting) {
    if (setting != 0)
        RegisterHotKey(window, id, HotkeyModifiers((setting >> 8) & 0xFF), setting & 0xFF);
}
}  // namespace

void CKestrovarBodyWnd::RegisterHotKeys(bool on) {
    if (!on) {
        for (int id : {kHotkeyNextId, kHotkeyPrevId, kHotkeyShowId})
            UnregisterHotKey(hwnd(), id);
        return;
    }
    RegisterOne(hwnd(), kHotkeyNextId, settings_.HotkeyNext);
    RegisterOne(hwnd(), kHotkeyPrevId, settings_.HotkeyPrev);
    RegisterOne(hwnd(), kHotkeyShowId, settings_.HotkeyShow);
}
