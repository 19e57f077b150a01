#!/usr/bin/env bash
# The ignored-windows page: it lists the running top-level windows by class (Wine's Notepad
# among them), adds class names from that list unless an entry already begins with the name
# (ignoring case), refuses framework-generated "Afx:" classes with a message, edits and deletes
# entries of both lists, and follows the wheel-click trigger once the operation page is applied.
source "$KV_SOURCE/tests/e2e/lib.sh"
source "$KV_SOURCE/tests/e2e/settings_lib.sh"
kv_setup settings_filter

WINDOWS=1008 CLASSES=1009 TITLES=1010 ADD_TITLE=1011 DELETE_TITLE=1013 ADD_CLASS=1014 EDIT_CLASS=1017
LB_SETCURSEL=0x186
AFX_CLASS='Afx:00400000:b:00010003:00000006:00000000'
REFUSED='このクラス名称は登録できません。'

background() {
    wine "$@" </dev/null >>"$KV_WORK/windows.log" 2>&1 &
    KV_PIDS+=($!)
}
# Class names are atoms that ignore case system-wide, so the test classes differ from
# "Notepad" in more than case.
background notepad
kv_wait_for "Notepad's window" 20 kv_probe find-class Notepad 1000
background "$KV_BIN/kvafxwnd.exe"
background "$KV_BIN/kvafxwnd.exe" Note "short class"
background "$KV_BIN/kvafxwnd.exe" NOTEP "upper-case class"
background "$KV_BIN/kvafxwnd.exe" NotepadX "longer class"
for class in "$AFX_CLASS" Note NOTEP NotepadX; do
    kv_wait_for "a window of class $class" 20 kv_probe find-class "$class" 1000
done

kv_profile_set Filter WindowName0 REG_SZ zzz

# Selects the window-list row of a class (exact, case-sensitive) and presses Add.
add_class_of_row() {
    local row
    row=$(kv_page_items $WINDOWS | grep -n -P "^\Q$1\E\t" | head -1 | cut -d: -f1)
    [ -n "$row" ] || return 1
    kv_probe page-select-row "$KV_SHEET" $WINDOWS $((row - 1)) && kv_page_click $ADD_CLASS
}
classes() { kv_page_items $CLASSES | tr '\n' ,; }

kv_check "launcher starts" kv_start
kv_sheet_open
kv_sheet_page 3
windows=$(kv_page_items $WINDOWS)
printf '%s\n' "$windows" | sed 's/^/# window list: /'
kv_check "Wine's Notepad is listed by class with its title" grep -q -P '^Notepad\t.*メモ帳' <<<"$windows"
kv_check "the hidden launcher is not listed" ! grep -q 'Kestrovar Body Window!' <<<"$windows"
kv_screenshot settings_filter_page
add_class_of_row Notepad
kv_check "Add takes the selected window's class" test "$(classes)" = Notepad,
kv_check "adding marks the page changed" kv_page_enabled $KV_APPLY_BUTTON
add_class_of_row Note
kv_check "a name an entry already begins with is not added" test "$(classes)" = Notepad,
add_class_of_row NOTEP
kv_check "the search ignores case" test "$(classes)" = Notepad,
add_class_of_row NotepadX
kv_check "a longer name is added" test "$(classes)" = Notepad,NotepadX,
add_class_of_row "$AFX_CLASS"
kv_check "an Afx: class is refused with a message" kv_probe wait-dialog Kestrovar 5000
kv_check "the message names the refusal" grep -q -F "$REFUSED" <<<"$(kv_probe dialogs)"
kv_probe press-dialog Kestrovar 1 >/dev/null || kv_probe press-dialog Kestrovar 2 >/dev/null
kv_sheet_settle
kv_check "nothing was added for the Afx: class" test "$(classes)" = Notepad,NotepadX,

# Editing an entry into an Afx: name is allowed; it keeps its place in the sorted list.
kv_page_send $CLASSES $LB_SETCURSEL 1 0 >/dev/null
kv_page_click $EDIT_CLASS
kv_check "edit class name" kv_text_dialog_answer '無視するクラス名' 'Afx:edited'
kv_check "the edited entry stays where it was" test "$(classes)" = Notepad,Afx:edited,
kv_page_click $ADD_TITLE
kv_check "add window name" kv_text_dialog_answer '無視するウインドウ名' '*メモ帳'
kv_check "the window names, sorted" test "$(kv_page_items $TITLES | tr '\n' ,)" = '*メモ帳,zzz,'
kv_page_send $TITLES $LB_SETCURSEL 1 0 >/dev/null
kv_page_click $DELETE_TITLE
kv_check "delete window name" test "$(kv_page_items $TITLES | tr '\n' ,)" = '*メモ帳,'
kv_screenshot settings_filter_edited
kv_sheet_close 1
kv_check "exit" kv_quit
profile=$(kv_profile_dump)
kv_check "class names stored in the list's order" \
    test "$(kv_dump_get "$profile" Filter ClassName0),$(kv_dump_get "$profile" Filter ClassName1)" = Notepad,Afx:edited
kv_check "window names replaced as a whole" \
    test "$(kv_dump_get "$profile" Filter WindowName0),$(kv_dump_get "$profile" Filter WindowName1 || echo none)" = '*メモ帳,none'

# Run 2: with the wheel-click trigger off, everything but the class-name edit button is
# disabled until the operation page's check box has been applied.
kv_profile_set Status WheelClickTrigger REG_DWORD 0
kv_check "launcher starts again" kv_start
kv_sheet_open
kv_sheet_page 3
trigger_controls_enabled() {
    local id want=$1
    for id in 1008 1009 1010 1011 1012 1013 1014 1015 1016; do
        [ "$(kv_page_control $id | cut -d' ' -f1)" = "$want" ] || return 1
    done
}
kv_check "trigger off: the lists and buttons are disabled" trigger_controls_enabled 0
kv_check "trigger off: the class-name edit button stays enabled" kv_page_enabled $EDIT_CLASS
kv_sheet_page 0
kv_page_click 1008
kv_sheet_page 3
kv_check "checking the wheel box alone does not enable them" trigger_controls_enabled 0
kv_page_click $KV_APPLY_BUTTON
kv_check "after Apply they follow the new trigger" trigger_controls_enabled 1
kv_sheet_close 2
kv_check "exit" kv_quit
kv_finish
