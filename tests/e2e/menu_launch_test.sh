#!/usr/bin/env bash
# Left clicks on launcher buttons: an item starts in its program's folder with its parameters
# and the launcher hides, with Ctrl+Shift held too (elevated; a declined elevation keeps it); Wine's notepad starts; an item whose program was deleted is cleared
# by the click and is gone from the profile after the quit; an empty button only hides. An item
# on a drive that is away keeps its slot through the start, the page display and a click. With
# HideOption off, only a real drag moves an item: not the arrow keys after a click, nor a press
# released in a gap; the space key held over one button and released over another does.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup menu_launch

tools="$WINEPREFIX/drive_c/kvtools"
mkdir -p "$tools/run here" "$tools/gone"
cp "$KV_BIN/kvlaunchrec.exe" "$tools/run here/kvlaunchrec.exe"
cp "$KV_BIN/kvlaunchrec.exe" "$tools/gone/kvgone.exe"
record="$tools/run here/kvlaunchrec.launched"

kv_profile_load <<'VALUES'
Kestrovar\Path Name	Button0	REG_SZ	メモ帳*C:\windows\notepad.exe
Kestrovar\Path Name	Button1	REG_SZ	記録*C:\kvtools\run here\kvlaunchrec.exe -a "b c"
Kestrovar\Path Name	Button2	REG_SZ	消える*C:\kvtools\gone\kvgone.exe
Kestrovar\Path Name	Button3	REG_SZ	USB*X:\tools\app.exe -p
VALUES
# Drive X: points nowhere, as an unplugged stick's letter does.
ln -sfn /nonexistent-kv-drive "$WINEPREFIX/dosdevices/x:"

shown() { test "$(kv_probe launcher | cut -d' ' -f1)" = 1; }
hidden() { test "$(kv_probe launcher | cut -d' ' -f1)" = 0; }
# A launch hides the launcher from its worker thread, which may finish after the click settled.
hides() { kv_wait_for "the launcher to hide" 10 hidden; }
# Left click on the button of grid position n of a launcher shown by a wheel click at (500,400).
click_button() {
    xdotool mousemove $((438 + 25 * $1)) 388 sleep 0.2 click 1
    kv_settle
}

kv_check "launcher starts" kv_start
kv_wheel_click 500 400
kv_check "wheel click shows the launcher" shown
click_button 1
kv_check "the item's program ran" kv_wait_for "launch record" 20 test -s "$record"
kv_check "it ran in its own folder" test "$(sed -n 1p "$record" | tr -d '\r')" = 'C:\kvtools\run here'
kv_check "it got the parameters" test "$(sed -n 2p "$record" | tr -d '\r')" = '-a "b c"'
kv_check "the launcher hid itself" hides

# Ctrl+Shift with the click asks for the program elevated. Wine has no elevation prompt and
# starts it; a stand-in for a user who declines the prompt then makes the start fail with
# ERROR_CANCELLED: nothing starts, no message shows, the launcher hides and the item stays.
ctrl_shift_click_button() {
    xdotool keydown ctrl keydown shift
    click_button "$1"
    xdotool keyup shift keyup ctrl
}
rm -f "$record"
kv_wheel_click 500 400
ctrl_shift_click_button 1
kv_check "a Ctrl+Shift click starts the item's program" kv_wait_for "launch record" 20 test -s "$record"
kv_check "with its parameters" test "$(sed -n 2p "$record" | tr -d '\r')" = '-a "b c"'
kv_check "and hides the launcher" hides
kv_check "the declining stand-in is in place" \
    test "$(kv_probe load-library kvrefuseelevation.dll kvElevationRefused)" = 1
rm -f "$record"
kv_wheel_click 500 400
ctrl_shift_click_button 1
refused="$tools/run here/kvlaunchrec.exe.refused"
kv_check "a Ctrl+Shift click asks for elevation" kv_wait_for "refusal record" 20 test -e "$refused"
kv_check "a declined elevation hides the launcher" hides
kv_check "starts nothing" test ! -e "$record"
kv_check "and shows no message" test -z "$(kv_probe dialogs)"

kv_wheel_click 500 400
click_button 0
kv_check "notepad started" kv_probe find-class Notepad 20000
kv_check "the launcher hid for notepad" hides
kv_screenshot menu_launch_notepad
# Closed before the next clicks. The hide hands the foreground to the window under the pointer,
# and under Wine a program as slow to answer as Notepad may finish taking it only after the next
# show; the launcher then loses the foreground again and Wine drops the click that follows.
kv_probe close Notepad >/dev/null
kv_wait_for "notepad to close" 10 eval '! kv_probe find-class Notepad 0'

rm -f "$tools/gone/kvgone.exe"
kv_wheel_click 500 400
kv_check "shown again" shown
click_button 2
kv_check "a click on an item whose program is gone still hides the launcher" hides
kv_check "and starts nothing" test ! -e "$tools/gone/kvgone.launched"

kv_wheel_click 500 400
click_button 3
kv_check "a click on the item whose drive is away hides the launcher" hides

kv_wheel_click 500 400
click_button 5
kv_check "a click on an empty button only hides" hides

kv_check "quit" kv_quit
profile=$(kv_profile_dump)
item() { kv_dump_get "$profile" 'Path Name' "$1"; }
kv_check "the notepad item stays" test "$(item Button0)" = 'メモ帳*C:\windows\notepad.exe'
kv_check "the started item stays" test "$(item Button1)" = '記録*C:\kvtools\run here\kvlaunchrec.exe -a "b c"'
kv_check "the item whose program was gone is cleared" ! item Button2
kv_check "the item whose drive is away stays" test "$(item Button3)" = 'USB*X:\tools\app.exe -p'

# HideOption off: the launcher stays after a launch.
kv_profile_set Status HideOption REG_DWORD 0
kv_check "launcher starts with HideOption off" kv_start
kv_wheel_click 500 400
click_button 1
kv_check "the launcher stays after a launch" shown
# The started program may take the foreground while it runs; once it has ended, the pointer
# moved onto a button gives the launcher the keys again, as it would for a user.
kv_wait_for "the started program to end" 10 eval '! pgrep -f kvlaunchrec.exe >/dev/null'
xdotool mousemove 440 390 sleep 0.1 mousemove 438 388
kv_settle
kv_key Right
kv_key Left
# A press on button 0 released in the gap between the rows, then the arrow keys again.
xdotool mousemove 438 388 mousedown 1 sleep 0.2 mousemove 438 400 sleep 0.2 mouseup 1
kv_settle
xdotool mousemove 438 388
kv_key Right
# The space key held over button 0 and released over button 4 moves its item there.
kv_point 438 388
xdotool keydown space
kv_wait_drag_source 0
xdotool mousemove 538 388 keyup space
kv_settle
kv_check "quit" kv_quit
profile=$(kv_profile_dump)
# Only the space key's move happened: 0 -> 4, the items between moved back one slot.
printf "%s\n" "$profile" | grep "Path Name" | sed "s/^/# /"
kv_check "the arrow keys and the press in the gap moved nothing" \
    test "$(item Button0)" = '記録*C:\kvtools\run here\kvlaunchrec.exe -a "b c"'
kv_check "the space key moved item 0 to slot 4" test "$(item Button4)" = 'メモ帳*C:\windows\notepad.exe'
kv_check "the item whose drive is away moved back one slot" test "$(item Button2)" = 'USB*X:\tools\app.exe -p'
kv_check "nothing else" test "$(grep -c '^Kestrovar.Path Name' <<<"$profile")" = 3

# After a registration through the file dialog the focus stays on that button (1) while the
# pointer goes on to button 0. The space key pressed there still belongs to button 0: its item
# moves onto button 1, and the release over the button that had the focus launches nothing.
kv_profile_delete_all
kv_profile_set "Path Name" Button0 REG_SZ 'メモ帳*C:\windows\notepad.exe'
kv_check "launcher starts" kv_start
kv_wheel_click 500 400
# Opens the file dialog from the menu of button n (top row).
open_file_dialog_on_button() {
    xdotool mousemove $((438 + 25 * $1)) 388 sleep 0.3 click 3
    kv_probe find-class '#32768' 3000 >/dev/null && xdotool key a && kv_probe wait-dialog '開く' 5000 >/dev/null
}
kv_check "the menu opens the file dialog" open_file_dialog_on_button 1
kv_check "regedit is registered on button 1 through the file dialog" kv_open_file 'C:\windows\regedit.exe'
kv_point 438 388
xdotool keydown space
kv_wait_drag_source 0
xdotool mousemove 463 388 keyup space
kv_settle
kv_check "the release over the focused button launched nothing" shown

# A file registered on an empty slot is drawn by its button alone, with no page display: the
# next show must still bring its icon, not the slot as it was.
open_file_dialog_on_button 2
kv_open_file 'C:\windows\notepad.exe'
kv_wheel_click 500 400
kv_wheel_click 500 400
kv_screenshot menu_launch_registered
icon_colours() { convert "$KV_BUILD/e2e/menu_launch_registered.png" -crop 16x16+480+380 -format %k info:; }
kv_check "hidden and shown again, the launcher shows the icon registered on button 2" test "$(icon_colours)" -gt 1
kv_check "quit" kv_quit
profile=$(kv_profile_dump)
printf "%s\n" "$profile" | grep "Path Name" | sed "s/^/# /"
kv_check "the space key moved item 0 onto button 1" test "$(item Button1)" = 'メモ帳*C:\windows\notepad.exe'
kv_check "and the registered item back to button 0" test "$(item Button0)" = 'Wine Registry Editor*C:\windows\regedit.exe'
kv_finish
