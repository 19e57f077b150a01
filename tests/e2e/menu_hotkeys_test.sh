#!/usr/bin/env bash
# Global hot keys: Alt+Q shows the launcher at the pointer and hides it again, Alt+W and Alt+E
# turn the pages only while the pointer is over the launcher, and a hot key set to 0 is not
# registered while the others still work. With MemoryPage on the launcher comes back on the page
# it was hidden on. While the settings sheet is open the hot keys do nothing, and the launcher
# it hid stays hidden through a settings change.
source "$KV_SOURCE/tests/e2e/lib.sh"
source "$KV_SOURCE/tests/e2e/settings_lib.sh"
kv_setup menu_hotkeys

kv_profile_load <<'VALUES'
Kestrovar\Path Name	Button0	REG_SZ	メモ帳*C:\windows\notepad.exe
Kestrovar\Path Name	Button13	REG_SZ	レジストリ*C:\windows\regedit.exe
Kestrovar\Path Name	Button37	REG_SZ	メモ*C:\windows\notepad.exe
VALUES

# Item index shown by the first button: page x 12.
first_index() { kv_probe button-index 1024; }
launcher_state() { kv_probe launcher; }
shown() { launcher_state | cut -d' ' -f1; }
# Presses KEY... one at a time, each settled, then checks that QUERY prints EXPECTED.
after_keys() {
    local query=$1 expected=$2 key
    shift 2
    for key; do kv_key "$key"; done
    test "$($query)" = "$expected"
}

kv_check "launcher starts" kv_start
xdotool mousemove 500 400
kv_key alt+q
kv_check "Alt+Q shows the launcher centred on the pointer" test "$(launcher_state)" = "1 424 374 153 53"
kv_check "page 0 is shown" test "$(first_index)" = 0
kv_check "Alt+W turns to page 1" after_keys first_index 12 alt+w
kv_check "Alt+E turns back to page 0" after_keys first_index 0 alt+e
kv_check "Alt+E on page 0 stays there" after_keys first_index 0 alt+e

xdotool mousemove 100 100
kv_check "Alt+W with the pointer outside the launcher turns no page" after_keys first_index 0 alt+w
kv_check "Alt+Q hides the shown launcher" after_keys shown 0 alt+q
kv_check "quit" kv_quit

kv_profile_set Status HotkeyPrev REG_DWORD 0
kv_check "start with no hot key for the previous page" kv_start
xdotool mousemove 500 400
kv_check "Alt+Q still shows the launcher" after_keys shown 1 alt+q
kv_check "Alt+W still turns to page 1" after_keys first_index 12 alt+w
kv_check "Alt+E is no longer a hot key" after_keys first_index 12 alt+e
kv_check "quit" kv_quit
kv_check "the 0 is kept in the profile" test "$(kv_profile_get Status HotkeyPrev)" = 0

kv_profile_set Status MemoryPage REG_DWORD 1
kv_check "start with MemoryPage on" kv_start
xdotool mousemove 500 400
kv_key alt+q
kv_check "three steps reach page 3" after_keys first_index 36 alt+w alt+w alt+w
kv_check "hidden on page 3, shown again on page 3" after_keys first_index 36 alt+q alt+q
kv_check "the settings sheet opens" kv_sheet_open
kv_check "and hides the launcher" test "$(shown)" = 0
kv_probe send 0x1a 0 0 >/dev/null
kv_check "a settings change keeps it hidden under the sheet" test "$(shown)" = 0
kv_check "Alt+Q does nothing while the sheet is open" after_keys shown 0 alt+q
kv_sheet_close 2
kv_check "after the sheet the launcher is back where it was" test "$(launcher_state)" = "1 424 374 153 53"
kv_check "quit" kv_quit
kv_finish
