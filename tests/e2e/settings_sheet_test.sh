#!/usr/bin/env bash
# The settings sheet as a whole: it opens on the operation page with no Help button, a page
# whose tab was never opened writes nothing, OK with no edits keeps every value (but for the
# design page's icon-size rule) and rebuilds the launcher, and Cancel applies nothing.
source "$KV_SOURCE/tests/e2e/lib.sh"
source "$KV_SOURCE/tests/e2e/settings_lib.sh"
kv_setup settings_sheet

launcher_off_desktop() {
    local state
    state=$(kv_probe launcher) || return 1
    [ "${state%% *}" = 0 ] || [ "$(echo "$state" | cut -d' ' -f2-3)" = "-9999 -9999" ]
}

kv_profile_set "Path Name" Button0 REG_SZ 'メモ帳*C:\windows\notepad.exe'
kv_profile_set "Path Name" Button1 REG_SZ 'NO TOOLTIP TEXT*C:\windows\regedit.exe'
kv_profile_set "Path Name" Button4 REG_SZ 'コマンド*C:\windows\system32\cmd.exe /k'
# Loaded in descending key order (zeta, alpha); the ignored-windows page sorts them on apply.
kv_profile_set Filter ClassName0 REG_SZ alpha
kv_profile_set Filter ClassName1 REG_SZ zeta
kv_profile_set Filter WindowName0 REG_SZ '*メモ帳'
# No icon-size entry begins with "24 x 24"; the design page's apply turns it into 32.
kv_profile_set Design IconSize REG_DWORD 24
kv_profile_set Status HotkeyShow REG_DWORD 880

# Run 1: only the first tab is opened.
kv_check "launcher starts" kv_start
kv_check "the settings command opens the sheet (found by its caption)" kv_sheet_open
kv_check "the launcher is hidden while the sheet runs" test "$(kv_probe launcher | cut -d' ' -f1)" = 0
kv_check "the sheet opens on the operation page" kv_page_has 1029
kv_check "the sheet has no visible Help button" \
    test "$(kv_probe page-control "$KV_SHEET" 9 | cut -d' ' -f7)" != 1
kv_check "the hot-key control shows the stored Ctrl+Shift+F1" test "$(kv_page_send 1029 $((0x402)) 0 0)" = 880
kv_check "Apply is disabled while nothing changed" ! kv_page_enabled $KV_APPLY_BUTTON
kv_screenshot settings_option_page
kv_sheet_close 1
kv_check "after OK the launcher is not shown on the desktop (hidden, or shown where it was parked)" \
    launcher_off_desktop
kv_check "exit after OK" kv_quit
first=$(kv_profile_dump)
kv_check "an unopened ignored-windows page wrote nothing: list order as loaded" \
    test "$(kv_dump_get "$first" Filter ClassName0)" = zeta
kv_check "an unopened design page wrote nothing: IconSize 24 kept" test "$(kv_dump_get "$first" Design IconSize)" = 24
kv_check "items kept" test "$(kv_dump_get "$first" 'Path Name' Button4)" = 'コマンド*C:\windows\system32\cmd.exe /k'

# Run 2: every tab opened, Cancel; the sheet opens on the first page again; every tab, OK.
kv_check "launcher starts again" kv_start
kv_sheet_open
for page in 1 2 3; do kv_sheet_page $page; done
kv_sheet_close 2
kv_check "Cancel shows the launcher as it was (hidden)" test "$(kv_probe launcher | cut -d' ' -f1)" = 0
kv_sheet_open
kv_check "the sheet opens on the operation page after closing on another one" kv_page_has 1029
for page in 1 2 3; do kv_sheet_page $page; done
kv_check "visiting pages marks nothing changed" ! kv_page_enabled $KV_APPLY_BUTTON
kv_sheet_close 1
kv_check "exit after the second OK" kv_quit
second=$(kv_profile_dump)

kv_check "the ignored class names are stored in the page's sorted order" \
    test "$(kv_dump_get "$second" Filter ClassName0),$(kv_dump_get "$second" Filter ClassName1)" = alpha,zeta
kv_check "the design page stored the 32 x 32 choice for IconSize 24" \
    test "$(kv_dump_get "$second" Design IconSize),$(kv_dump_get "$second" Design ButtonWidth),$(kv_dump_get "$second" Design ButtonHeight)" = 32,38,38
# Everything else is exactly as before.
others() { printf '%s\n' "$1" | grep -v -P '\t(ClassName[01]|IconSize|ButtonWidth|ButtonHeight)\t'; }
kv_check "every other value is unchanged after OK on all pages" test "$(others "$first")" = "$(others "$second")"
kv_check "the placeholder tooltip is stored again" \
    test "$(kv_dump_get "$second" 'Path Name' Button1)" = 'NO TOOLTIP TEXT*C:\windows\regedit.exe'
kv_finish
