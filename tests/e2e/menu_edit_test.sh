#!/usr/bin/env bash
# Editing items through the context menu and the text entry dialog, registering a file through
# the open-file dialog and opening an item's folder. Each change is in the profile at once: the
# process is killed at the end, not quit. An emptied tooltip is kept as "NO TOOLTIP TEXT"; a
# command with a "*" is refused and offered again. While the open-file dialog is open, a
# settings change and a cancelled end of the session leave its button alive.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup menu_edit

tools="$WINEPREFIX/drive_c/kvtools"
mkdir -p "$tools"
cp "$KV_BIN/kvlaunchrec.exe" "$KV_BIN/kvdescribed.exe" "$tools/"

kv_profile_load <<'VALUES'
Kestrovar\Path Name	Button0	REG_SZ	メモ帳*C:\windows\notepad.exe
Kestrovar\Path Name	Button1	REG_SZ	レジストリ*C:\windows\regedit.exe
Kestrovar\Path Name	Button2	REG_SZ	ツール*C:\kvtools\kvlaunchrec.exe
Kestrovar\Path Name	Button3	REG_SZ	メモ*C:\windows\notepad.exe
VALUES

foreground_is() { test "$(kv_probe foreground)" = "$1"; }
# Right click on the top-row button n of the launcher shown at (424,374) and pick a menu entry.
menu_on_button() {
    xdotool mousemove $((438 + 25 * $1)) 388 sleep 0.2 click 3
    kv_probe find-class '#32768' 3000 >/dev/null
    kv_key "$2"
}
# Types into the text dialog's edit box: Tab, Tab from the focused OK button selects its text.
type_into_dialog() {
    kv_key Tab Tab
    if [ -n "$1" ]; then xdotool type --delay 50 "$1"; else kv_key BackSpace; fi
    kv_key Return
}

kv_check "launcher starts" kv_start
kv_wheel_click 500 400

menu_on_button 0 p
kv_check "the tooltip dialog opens" kv_probe wait-dialog "$KV_TIP_TITLE" 5000
kv_check "with the tooltip in its edit box" dialogs_show '1005 Edit "メモ帳"'
kv_screenshot menu_edit_tip
type_into_dialog "Notes"
kv_check "Enter in the edit box confirms" kv_wait_for "dialog closed" 5 dialog_gone "$KV_TIP_TITLE"

menu_on_button 1 p
kv_probe wait-dialog "$KV_TIP_TITLE" 5000 >/dev/null
type_into_dialog ""
kv_wait_for "dialog closed" 5 dialog_gone "$KV_TIP_TITLE"

menu_on_button 2 e
kv_check "the command dialog opens" kv_probe wait-dialog "$KV_COMMAND_TITLE" 5000
kv_check "with the command in its edit box" dialogs_show '1005 Edit "C:\kvtools\kvlaunchrec.exe"'
kv_probe dialog-settext "$KV_COMMAND_TITLE" 1005 'C:\kvtools\kvdescribed.exe /q'
kv_key Return
kv_check "Enter on the OK button confirms" kv_wait_for "dialog closed" 5 dialog_gone "$KV_COMMAND_TITLE"

menu_on_button 1 e
kv_probe wait-dialog "$KV_COMMAND_TITLE" 5000 >/dev/null
kv_probe dialog-settext "$KV_COMMAND_TITLE" 1005 'C:\windows\regedit.exe -m'
kv_key Return
kv_wait_for "dialog closed" 5 dialog_gone "$KV_COMMAND_TITLE"

menu_on_button 3 e
kv_probe wait-dialog "$KV_COMMAND_TITLE" 5000 >/dev/null
kv_probe dialog-settext "$KV_COMMAND_TITLE" 1005 'C:\windows\notepad.exe *.txt'
kv_key Return
kv_check "a command with a * is refused with a message" kv_wait_for "message" 5 \
    dialogs_show '「*」は使えません'
kv_screenshot menu_edit_refused
kv_key Return
kv_check "and offered again as typed" kv_wait_for "dialog again" 5 \
    dialogs_show '1005 Edit "C:\windows\notepad.exe *.txt"'
kv_key Escape
kv_check "Esc cancels it" kv_wait_for "dialog closed" 5 dialog_gone "$KV_COMMAND_TITLE"

# Register through the open-file dialog on the empty slot 5.
menu_on_button 5 a
kv_check "the open-file dialog opens" kv_probe wait-dialog '開く' 10000
kv_screenshot menu_edit_open_dialog
kv_probe send 0x1a 0 0 >/dev/null
kv_check "the end-session query during the dialog is answered" test "$(kv_probe send 0x11 0 0)" = 1
kv_check "and so is its cancellation" eval "kv_probe send 0x16 0 0 >/dev/null"
kv_check "choosing a file closes it" kv_open_file 'C:\kvtools\kvdescribed.exe'
kv_check "the launcher lives on" kv_probe wait-ready 10000

# Open the folder of slot 2's program (now C:\kvtools\kvdescribed.exe /q).
menu_on_button 2 l
kv_check "open link target opens the program's folder" kv_probe find-class ExplorerWClass 15000
kv_check "in a window named after the folder" \
    kv_wait_for "folder window in front" 10 foreground_is $'ExplorerWClass\tkvtools'
launcher_hidden() { test "$(kv_probe launcher | cut -d' ' -f1)" = 0; }
kv_check "and hides the launcher" kv_wait_for "launcher hidden" 10 launcher_hidden

kv_wheel_click 300 600
kv_check "after the cancelled session end the hook shows the launcher again" \
    test "$(kv_probe launcher | cut -d' ' -f1)" = 1
kv_check "killed" kv_kill
profile=$(kv_profile_dump)
item() { kv_dump_get "$profile" 'Path Name' "$1"; }
kv_check "typed tooltip saved" test "$(item Button0)" = 'Notes*C:\windows\notepad.exe'
kv_check "emptied tooltip kept as NO TOOLTIP TEXT, parameters added to the command" \
    test "$(item Button1)" = 'NO TOOLTIP TEXT*C:\windows\regedit.exe -m'
kv_check "a new program with parameters brings the program's description as tooltip" \
    test "$(item Button2)" = '起動記録ツール*C:\kvtools\kvdescribed.exe /q'
kv_check "the refused command left the item unchanged" test "$(item Button3)" = 'メモ*C:\windows\notepad.exe'
kv_check "the chosen file is registered with its description" \
    test "$(item Button5)" = '起動記録ツール*C:\kvtools\kvdescribed.exe'
kv_finish
