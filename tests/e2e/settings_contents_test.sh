#!/usr/bin/env bash
# The registered applications page: one row per slot up to the highest item, moving, emptying
# and removing rows, editing commands (the tooltip follows a new program) and tooltips, with the
# same rules for texts the profile cannot store as the context menu; OK rebuilds the item list,
# and the launcher shows the moved item at its new button.
source "$KV_SOURCE/tests/e2e/lib.sh"
source "$KV_SOURCE/tests/e2e/settings_lib.sh"
kv_setup settings_contents

EDIT_TIP_TITLE='ﾂｰﾙﾁｯﾌﾟﾃｷｽﾄの編集'
EDIT_COMMAND_TITLE='起動ｺﾏﾝﾄﾞの編集'
LIST=1000 UP=1001 DELETE=1003 EDIT_COMMAND=1004 EDIT_TIP=1005

kv_profile_set "Path Name" Button0 REG_SZ 'ワード*C:\windows\regedit.exe'
kv_profile_set "Path Name" Button1 REG_SZ 'メモ帳*C:\windows\notepad.exe'
kv_profile_set "Path Name" Button3 REG_SZ 'コマンド*C:\windows\system32\cmd.exe /k'
kv_profile_set "Path Name" Button4 REG_SZ 'ライト*C:\windows\system32\write.exe'
kv_profile_set "Path Name" Button5 REG_SZ 'ヘルプ*C:\windows\hh.exe'
kv_profile_set "Path Name" Button6 REG_SZ 'ラスト*C:\windows\explorer.exe'

select_and_click() {
    kv_probe page-select-row "$KV_SHEET" $LIST "$1" && kv_page_click "$2"
}
rows() { kv_page_items $LIST; }

kv_check "launcher starts" kv_start
kv_sheet_open
kv_sheet_page 1
kv_check "rows 0 to 6 with the empty slot 2" test "$(rows)" = "$(printf '%s\n' \
    $'ワード\tC:\\windows\\regedit.exe' $'メモ帳\tC:\\windows\\notepad.exe' $'\t' \
    $'コマンド\tC:\\windows\\system32\\cmd.exe /k' $'ライト\tC:\\windows\\system32\\write.exe' \
    $'ヘルプ\tC:\\windows\\hh.exe' $'ラスト\tC:\\windows\\explorer.exe')"
kv_screenshot settings_contents_page

select_and_click 0 $UP
kv_check "up on row 0 does nothing" ! kv_page_enabled $KV_APPLY_BUTTON
select_and_click 2 $DELETE
kv_check "delete on an empty slot does nothing" test "$(rows | wc -l)" = 7
select_and_click 6 $DELETE
kv_check "delete on the last row removes it" test "$(rows | wc -l)" = 6
kv_check "removing the last row alone does not light up Apply" ! kv_page_enabled $KV_APPLY_BUTTON
select_and_click 1 $UP
kv_check "up moves row 1 to row 0" test "$(rows | head -1)" = $'メモ帳\tC:\\windows\\notepad.exe'
kv_check "moving lights up Apply" kv_page_enabled $KV_APPLY_BUTTON
kv_check "the moved row is selected" test "$(kv_page_send $LIST $((0x100C)) -1 2)" = 0
select_and_click 4 $DELETE
kv_check "delete on a middle row empties it in place" test "$(rows | sed -n 5p)" = $'\t'

select_and_click 3 $EDIT_COMMAND
kv_check "edit command of a row with parameters" kv_text_dialog_answer "$EDIT_COMMAND_TITLE" 'C:\windows\system32\cmd.exe /c exit'
select_and_click 1 $EDIT_COMMAND
kv_check "edit command to another program" kv_text_dialog_answer "$EDIT_COMMAND_TITLE" 'C:\Kestrovar\Kestrovar.exe'
select_and_click 5 $EDIT_TIP
kv_check "edit tooltip to an empty text" kv_text_dialog_answer "$EDIT_TIP_TITLE" ''
select_and_click 5 $EDIT_TIP
kv_check "edit tooltip no longer reacts on a row without tooltip" ! kv_probe wait-dialog "$EDIT_TIP_TITLE" 1000

kv_check "rows after the edits" test "$(rows)" = "$(printf '%s\n' \
    $'メモ帳\tC:\\windows\\notepad.exe' $'Kestrovar ランチャー\tC:\\Kestrovar\\Kestrovar.exe' $'\t' \
    $'コマンド\tC:\\windows\\system32\\cmd.exe /c exit' $'\t' $'\tC:\\windows\\hh.exe')"

# Texts the profile could not store: a "*" typed into a tooltip is kept as "＊"; a command with a
# "*" is refused with a message and offered again as typed.
select_and_click 0 $EDIT_TIP
kv_text_dialog_answer "$EDIT_TIP_TITLE" 'a*b'
kv_check "a * typed into a tooltip shows as ＊" test "$(rows | head -1)" = $'a＊b\tC:\\windows\\notepad.exe'
select_and_click 3 $EDIT_COMMAND
kv_text_dialog_answer "$EDIT_COMMAND_TITLE" 'C:\windows\system32\cmd.exe /c dir *.txt'
kv_check "a command with a * is refused with a message" \
    kv_wait_for "message" 5 dialogs_show '起動ｺﾏﾝﾄﾞに「*」は使えません。'
kv_screenshot settings_contents_refused
kv_probe press-dialog Kestrovar 1 >/dev/null
kv_check "and offered again as typed" \
    kv_wait_for "dialog again" 5 dialogs_show '1005 Edit "C:\windows\system32\cmd.exe /c dir *.txt"'
kv_probe press-dialog "$EDIT_COMMAND_TITLE" 2 >/dev/null
kv_check "cancelling it leaves the row as it was" \
    test "$(rows | sed -n 4p)" = $'コマンド\tC:\\windows\\system32\\cmd.exe /c exit'
kv_screenshot settings_contents_edited
kv_sheet_close 1

# The item moved to slot 0 is the launcher's first button now: clicking it starts Notepad.
kv_wheel_click 500 400
[ "$(kv_probe launcher | cut -d' ' -f1-2)" = "1 -9999" ] && kv_wheel_click 500 400
read -r _ bx by bw bh < <(kv_probe buttons | awk '$1 == 1024')
xdotool mousemove $((bx + bw / 2)) $((by + bh / 2)) click 1
kv_check "the launcher's first button now starts the moved item (Notepad)" kv_probe find-class Notepad 10000
kv_check "exit" kv_quit

profile=$(kv_profile_dump)
item() { kv_dump_get "$profile" 'Path Name' "Button$1"; }
kv_check "slot 0: the moved item, the * of its tooltip stored as ＊" test "$(item 0)" = 'a＊b*C:\windows\notepad.exe'
kv_check "slot 1: the edited command with the new program's description" \
    test "$(item 1)" = 'Kestrovar ランチャー*C:\Kestrovar\Kestrovar.exe'
kv_check "slot 3: same program, tooltip kept" test "$(item 3)" = 'コマンド*C:\windows\system32\cmd.exe /c exit'
kv_check "slot 5: an emptied tooltip is stored as the placeholder" \
    test "$(item 5)" = 'NO TOOLTIP TEXT*C:\windows\hh.exe'
kv_check "emptied and removed slots hold no item" \
    test "$(printf '%s\n' "$profile" | grep -c -P '^Kestrovar\\Path Name\tButton[246]\t')" = 0

# Run 2: with 32-pixel icons the list shows large icons labelled with the tooltips, and the
# buttons work on the selected icon the same way.
LVM_GETVIEW=0x108F LV_VIEW_ICON=0
DOWN=1002
kv_profile_set Design IconSize REG_DWORD 32
kv_check "launcher starts with 32-pixel icons" kv_start
kv_sheet_open
kv_sheet_page 1
kv_check "the list shows large icons" test "$(kv_page_send $LIST $LVM_GETVIEW 0 0)" = $LV_VIEW_ICON
kv_check "the same rows" test "$(rows | cut -f1 | head -2 | tr '\n' ,)" = 'a＊b,Kestrovar ランチャー,'
select_and_click 0 $DOWN
kv_check "down on the selected icon swaps it with the next" \
    test "$(rows | cut -f1 | head -2 | tr '\n' ,)" = 'Kestrovar ランチャー,a＊b,'
kv_screenshot settings_contents_large
kv_sheet_close 2
kv_check "exit" kv_quit
kv_finish
