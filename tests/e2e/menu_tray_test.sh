#!/usr/bin/env bash
# The loading notification icon: with ShowTaskTrayIcon on (the default) a start that takes the
# icons of many items from the shell shows the entry and removes it once the icons are loaded;
# with it off no entry ever appears.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup menu_tray

data_file="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Kestrovar/Kestrovar.dat"
# Enough items that loading their icons from the shell takes a while.
for n in $(seq 0 499); do
    printf 'Kestrovar\\Path Name\tButton%d\tREG_SZ\titem %d*C:\\windows\\notepad.exe\n' "$n" "$n"
done | kv_profile_load

kv_check "launcher starts" kv_start --no-wait
kv_check "the loading entry appears in the notification area" kv_probe tray-icon present 30000
kv_screenshot menu_tray_loading
kv_check "and goes away when the icons are loaded" kv_probe tray-icon absent 60000
kv_check "the launcher is ready" kv_probe wait-ready 30000
kv_check "the entry stays away" kv_probe tray-icon absent 0
kv_check "quit (the icons of every item are saved)" kv_quit 180

rm -f "$data_file"
kv_profile_set Status ShowTaskTrayIcon REG_DWORD 0
kv_check "start with ShowTaskTrayIcon off" kv_start --no-wait
kv_check "no entry appears while the icons load" ! kv_probe tray-icon present 8000
kv_check "the launcher is ready" kv_probe wait-ready 30000
kv_check "quit (the icons of every item are saved)" kv_quit 180
kv_finish
