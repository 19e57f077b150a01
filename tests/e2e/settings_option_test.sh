#!/usr/bin/env bash
# The operation page: the click-kind radio buttons follow the wheel check box, hot keys are
# typed into their controls, and Apply then Cancel keeps the applied values in force: the new
# show hot key works as soon as the sheet is closed, the old one no longer does. The box for
# starting with Windows shows and sets the user's Run value, and only that.
source "$KV_SOURCE/tests/e2e/lib.sh"
source "$KV_SOURCE/tests/e2e/settings_lib.sh"
kv_setup settings_option

HKM_SETHOTKEY=0x401
HKM_GETHOTKEY=0x402
EN_CHANGE=0x300
CTRL_SHIFT_K=$((0x34B))

kv_profile_set Status WheelClickTrigger REG_DWORD 0
kv_profile_set Status DoubleClick REG_DWORD 5

kv_check "launcher starts" kv_start
kv_check "the sheet opens" kv_sheet_open
kv_check "wheel trigger off: single-click radio disabled" ! kv_page_enabled 1018
kv_check "wheel trigger off: double-click radio disabled" ! kv_page_enabled 1019
kv_check "stored DoubleClick 5 checks the double-click radio" kv_page_checked 1019
kv_probe page-notify "$KV_SHEET" 1029 $EN_CHANGE
kv_check "a hot-key notification without a new key marks nothing" ! kv_page_enabled $KV_APPLY_BUTTON

kv_page_click 1008
radios_enabled() { kv_page_enabled 1018 && kv_page_enabled 1019; }
kv_check "checking the wheel box enables both radios" radios_enabled
kv_check "checking the wheel box lights up Apply" kv_page_enabled $KV_APPLY_BUTTON
kv_page_click 1008
kv_check "unchecking it disables them again" ! kv_page_enabled 1019
kv_check "disabling keeps the check state" kv_page_checked 1019
kv_page_click 1008
kv_page_click 1018
kv_check "single click chosen" kv_page_checked 1018

# Type Ctrl+Shift+K into the show hot-key control, again until the click has given it the keys.
read -r _ _ x y w h _ <<<"$(kv_page_control 1029)"
type_show_hotkey() {
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1 key ctrl+shift+k
    kv_sheet_settle
    test "$(kv_page_send 1029 $HKM_GETHOTKEY 0 0)" = $CTRL_SHIFT_K
}
kv_check "the show hot-key control holds Ctrl+Shift+K" kv_wait_for "Ctrl+Shift+K in the control" 10 type_show_hotkey
# Clear the next-page hot key.
kv_page_send 1030 $HKM_SETHOTKEY 0 0 >/dev/null
kv_probe page-notify "$KV_SHEET" 1030 $EN_CHANGE
kv_screenshot settings_option_edited
kv_page_click $KV_APPLY_BUTTON
kv_check "Apply turns the Apply button off" ! kv_page_enabled $KV_APPLY_BUTTON
kv_sheet_close 2
kv_check "Cancel leaves the launcher hidden, as it was" test "$(kv_probe launcher | cut -d' ' -f1)" = 0

kv_key alt+q
kv_check "the old show hot key Alt+Q is no longer registered" test "$(kv_probe launcher | cut -d' ' -f1)" = 0
kv_key ctrl+shift+k
kv_check "the applied show hot key Ctrl+Shift+K shows the launcher" test "$(kv_probe launcher | cut -d' ' -f1)" = 1
kv_key ctrl+shift+k

# The start-with-Windows box follows the value Kestrovar under the user's Run key.
RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
START_WITH_WINDOWS=1032
run_value() { kv_probe registry "$RUN_KEY" | awk -F'\t' '$2 == "Kestrovar" { print $4 }'; }
set_run_value() { kv_wine reg add "$RUN_KEY" /v Kestrovar /d "$1" /f >/dev/null 2>&1; }
kv_sheet_open
kv_check "no Run value: the start-with-Windows box is clear" ! kv_page_checked $START_WITH_WINDOWS
kv_page_click $START_WITH_WINDOWS
kv_sheet_close 1
kv_check "checked and OK: the Run value is the program's quoted path" \
    test "$(run_value)" = '"C:\Kestrovar\Kestrovar.exe"'
set_run_value 'c:\KESTROVAR\kestrovar.EXE'
kv_sheet_open
kv_check "the program's path in other case and without quotes checks the box" kv_page_checked $START_WITH_WINDOWS
kv_page_click $START_WITH_WINDOWS
kv_page_click $KV_APPLY_BUTTON
kv_check "unchecked and Apply: the value is gone" test -z "$(run_value)"
kv_sheet_close 2
set_run_value 'C:\Elsewhere\Kestrovar.exe'
kv_sheet_open
kv_check "a value naming another path leaves the box clear" ! kv_page_checked $START_WITH_WINDOWS
kv_sheet_close 1
kv_check "and an OK leaves that value as it is" test "$(run_value)" = 'C:\Elsewhere\Kestrovar.exe'
kv_check "exit" kv_quit

profile=$(kv_profile_dump)
kv_check "WheelClickTrigger applied" test "$(kv_dump_get "$profile" Status WheelClickTrigger)" = 1
kv_check "DoubleClick applied as 0" test "$(kv_dump_get "$profile" Status DoubleClick)" = 0
kv_check "HotkeyShow applied" test "$(kv_dump_get "$profile" Status HotkeyShow)" = $CTRL_SHIFT_K
kv_check "a cleared hot key is stored as 0" test "$(kv_dump_get "$profile" Status HotkeyNext)" = 0
kv_check "untouched HotkeyPrev kept" test "$(kv_dump_get "$profile" Status HotkeyPrev)" = $((0x445))
run_or_start_values() { awk -F'\t' 'tolower($2) ~ /run|start/' <<<"$profile"; }
kv_check "the start-with-Windows choice is not kept in the profile" test -z "$(run_or_start_values)"
kv_finish
