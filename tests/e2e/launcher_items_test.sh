#!/usr/bin/env bash
# Items on the launcher: the mouse wheel over a button turns the pages (one empty page past the
# last item at most), dragging an item onto another button moves it, and an item whose program
# is gone is dropped at the start when there is no data file to remember its icon.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup launcher_items

index_of_first_button() {
    test "$(kv_probe button-index 1024)" = "$1"
}

wheel() {
    xdotool click "$1"
    kv_settle
}

# The pixels of the icon area of button 1024 (16 x 16 at 424 + 3 + 3, 374 + 3 + 3) on the screen now.
first_icon_pixels() {
    kv_screenshot "$1"
    convert "$KV_BUILD/e2e/$1.png" -crop 16x16+430+380 +repage rgb:- | md5sum
}

kv_profile_set "Path Name" Button0 REG_SZ 'メモ帳*C:\windows\notepad.exe'
kv_profile_set "Path Name" Button1 REG_SZ 'レジストリ*C:\windows\regedit.exe'
kv_profile_set "Path Name" Button2 REG_SZ 'gone*C:\nowhere\gone.exe'
kv_check "launcher starts" kv_start

kv_wheel_click 500 400
kv_check "launcher shown" test "$(kv_probe launcher | cut -d' ' -f1)" = 1
kv_screenshot launcher_items
# Over button 1024 (its centre is at 424 + 3 + 11, 374 + 3 + 11).
xdotool mousemove 438 388
kv_settle
kv_check "page 0 shows item 0 first" index_of_first_button 0
page0_icon=$(first_icon_pixels launcher_items_page0)
wheel 5
kv_check "wheel towards the user: the next page, which may be empty" index_of_first_button 12
kv_check "the screen shows the empty page (no icon on the first button)" \
    test "$(first_icon_pixels launcher_items_page1)" != "$page0_icon"
wheel 5
kv_check "no second empty page: the step is refused and page 1 stays" index_of_first_button 12
wheel 4
kv_check "wheel away from the user: back to page 0" index_of_first_button 0
kv_check "the screen shows page 0's icon again" test "$(first_icon_pixels launcher_items_back)" = "$page0_icon"
wheel 4
kv_check "no page before page 0" index_of_first_button 0
wheel 5
kv_key Escape
kv_wheel_click 500 400
kv_check "without MemoryPage the launcher comes back on page 0" index_of_first_button 0
kv_check "and the screen shows page 0, not the page it was hidden on" \
    test "$(first_icon_pixels launcher_items_shown_again)" = "$page0_icon"

# Drag notepad (slot 0, button 1024) onto slot 6 (button 1030, second row, first column) as a
# quick hand does: without a pause, and on to another button at once after the release. The
# move is saved as soon as it is made.
xdotool mousemove 438 388 mousedown 1 mousemove 445 400 mousemove 438 413 mouseup 1 mousemove 513 388
kv_check "the drag moved the item where it was released" \
    kv_wait_for "the move saved" 10 eval 'test "$(kv_profile_get "Path Name" Button6)" = "メモ帳*C:\windows\notepad.exe"'
kv_settle
kv_check "the drag did not launch anything" ! kv_probe window Notepad
kv_check "launcher still shown" test "$(kv_probe launcher | cut -d' ' -f1)" = 1

kv_check "launcher quits" kv_quit
kv_check "the moved item is in slot 6" test "$(kv_profile_get "Path Name" Button6)" = 'メモ帳*C:\windows\notepad.exe'
kv_check "the items after it moved back one slot" \
    test "$(kv_profile_get "Path Name" Button0)" = 'レジストリ*C:\windows\regedit.exe'
kv_check "the item whose program is gone was dropped" ! kv_profile_get "Path Name" Button2
kv_check "nothing else remains" test "$(kv_profile_dump | grep -c '^Kestrovar.Path Name')" = 2
kv_finish
