#include "settings_ui/list_view.h"

#include <commctrl.h>

void AddGridListStyles(HWND list) {
    constexpr DWORD kStyles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_BORDERSELECT;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, kStyles, kStyles);
}

void InsertListColumn(HWND list, int index, const char* heading, int width) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(heading);
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}
