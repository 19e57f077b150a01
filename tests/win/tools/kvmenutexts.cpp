// kvmenutexts.dll: loaded by kvprobe into the process that shows a popup menu, to read the menu's
// texts there: a menu's handle means nothing in another process under Wine, so GetMenuStringW
// must run in the process that owns it.
#include <windows.h>

#include "menu_texts.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr UINT kGetMenu = 0x01E1;  // MN_GETHMENU

// One line per entry (a separator is an empty line), a submenu's entries after it, indented.
void AppendEntries(HMENU menu, const std::wstring& indent, std::wstring& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        out += indent + text + L"\n";
        if (HMENU submenu = GetSubMenu(menu, i))
            AppendEntries(submenu, indent + L"  ", out);
    }
}

}  // namespace

// Started as a thread of the menu's process with a buffer of kMenuTextUnits UTF-16 units:
// writes the entries of the popup menu in front there; returns the units written plus one for
// the terminator, 0 when no menu is shown.
extern "C" __declspec(dllexport) DWORD WINAPI kvMenuTexts(void* buffer) {
    HWND window = FindWindowW(L"#32768", nullptr);
    HMENU menu = window ? reinterpret_cast<HMENU>(SendMessageW(window, kGetMenu, 0, 0)) : nullptr;
    if (!menu)
        return 0;
    std::wstring text;
    AppendEntries(menu, L"", text);
    const size_t units = std::min(text.size(), kMenuTextUnits - 1);
    auto* out = static_cast<wchar_t*>(buffer);
    memcpy(out, text.data(), units * sizeof(wchar_t));
    out[units] = L'\0';
    return static_cast<DWORD>(units + 1);
}
