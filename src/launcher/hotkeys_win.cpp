#include "launcher/body_wnd.h"

#include "items/hotkey_rules.h"

#include <cstdio>

namespace {
// A hot key another program holds stays missing, and the others are still registered; the
// refusal is told to a debugger, so that a user's report of a dead hot key can be checked.
void RegisterOne(HWND window, int id, int setting) {
    if (setting == 0 || RegisterHotKey(window, id, HotkeyModifiers((setting >> 8) & 0xFF), setting & 0xFF))
        return;
    char text[96];
    std::snprintf(text, sizeof(text), "Kestrovar: hot key %d (setting 0x%04X) refused, error %lu\n", id,
                  static_cast<unsigned>(setting), GetLastError());
    OutputDebugStringA(text);
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
