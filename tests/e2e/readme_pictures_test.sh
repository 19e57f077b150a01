#!/usr/bin/env bash
# The pictures of the README, taken the way a user sees the program: the plain launcher with a
# few items, its context menu, each sample theme, and the four pages of the settings sheet.
# scripts/docs crops the screenshots (build/e2e/readme_*.png) into docs/.
source "$KV_SOURCE/tests/e2e/lib.sh"
source "$KV_SOURCE/tests/e2e/settings_lib.sh"
kv_setup readme_pictures

kv_profile_load <<'VALUES'
Kestrovar\Path Name	Button0	REG_SZ	メモ帳*C:\windows\notepad.exe
Kestrovar\Path Name	Button1	REG_SZ	レジストリ エディタ*C:\windows\regedit.exe
Kestrovar\Path Name	Button2	REG_SZ	コマンド プロンプト*C:\windows\system32\cmd.exe
Kestrovar\Path Name	Button3	REG_SZ	ヘルプ*C:\windows\hh.exe
Kestrovar\Path Name	Button4	REG_SZ	エクスプローラ*C:\windows\explorer.exe
Kestrovar\Path Name	Button5	REG_SZ	ワードパッド*C:\Program Files\Windows NT\Accessories\wordpad.exe
Kestrovar\Path Name	Button7	REG_SZ	時計*C:\windows\system32\clock.exe
Kestrovar\Path Name	Button8	REG_SZ	マインスイーパ*C:\windows\system32\winemine.exe
Kestrovar\Path Name	Button9	REG_SZ	タスク マネージャ*C:\windows\system32\taskmgr.exe
Kestrovar\Path Name	Button10	REG_SZ	インターネット*C:\Program Files\Internet Explorer\iexplore.exe
Kestrovar\Filter	ClassName0	REG_SZ	ConsoleWindowClass
Kestrovar\Filter	WindowName0	REG_SZ	*マインスイーパ
VALUES

shown() { test "$(kv_probe launcher | cut -d' ' -f1)" = 1; }
menu_open() { kv_probe find-class '#32768' 3000 >/dev/null; }
menu_closed() { ! kv_probe find-class '#32768' 300 >/dev/null; }

# The plain look, then its context menu on the second item.
kv_check "plain: starts" kv_start
kv_wheel_click 512 384
kv_check "plain: shows at the cursor" shown
kv_screenshot readme_plain
xdotool mousemove 474 371 sleep 0.3 mousemove 475 372 sleep 0.2 click 3
kv_check "plain: a right click on an item opens the context menu" menu_open
kv_settle
kv_screenshot readme_menu
kv_key Escape
kv_check "plain: the menu closes" kv_wait_for "menu closed" 5 menu_closed

# The settings sheet, one picture per page.
kv_check "settings: the sheet opens" kv_sheet_open
for page in 0 1 2 3; do
    kv_sheet_page $page
    kv_settle
    kv_screenshot "readme_settings_$page"
done
kv_sheet_close 2
kv_check "plain: quits" kv_quit

# Each sample theme.
for theme in Graphite Sandstone; do
    kv_profile_set Design SkinMode REG_DWORD 1
    kv_profile_set Design Theme REG_SZ "$theme"
    kv_check "$theme: starts" kv_start
    kv_wheel_click 512 384
    kv_check "$theme: shows at the cursor" shown
    kv_screenshot "readme_theme_${theme,,}"
    kv_check "$theme: quits" kv_quit
done

kv_check "the items are kept" test "$(kv_profile_get "Path Name" Button10)" = 'インターネット*C:\Program Files\Internet Explorer\iexplore.exe'
kv_finish
