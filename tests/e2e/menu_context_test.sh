#!/usr/bin/env bash
# The context menu: it opens on a right click, shorter on the background and on an empty slot
# after the last item than on an item; insert blank and delete move the items; the theme
# entries switch the look; the version entry shows the library version while wheel clicks and
# hot keys are locked out; cancel changes nothing, nor does a command on an item from outside.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup menu_context

kv_profile_load <<'VALUES'
Kestrovar\Path Name	Button0	REG_SZ	ア*C:\windows\notepad.exe
Kestrovar\Path Name	Button1	REG_SZ	イ*C:\windows\regedit.exe
Kestrovar\Path Name	Button2	REG_SZ	ウ*C:\windows\notepad.exe x
VALUES

launcher_state() { kv_probe launcher; }
menu_open() { kv_probe find-class '#32768' 3000 >/dev/null; }
menu_closed() { ! kv_probe find-class '#32768' 300 >/dev/null; }
menu_height() { kv_probe window '#32768' | cut -d' ' -f5; }
# Right click at (x, y) and wait for the menu.
right_click() {
    xdotool mousemove "$1" "$2" sleep 0.2 click 3
    menu_open
}
# Right click on the button of grid position n (top row) of the launcher shown at (424,374).
right_click_button() { right_click $((438 + 25 * $1)) 388; }
choose() {
    kv_key "$@"
    kv_wait_for "menu closed" 5 menu_closed
}

kv_check "launcher starts" kv_start
kv_wheel_click 500 400
kv_check "shown at (424,374)" test "$(launcher_state)" = "1 424 374 153 53"

kv_check "a right click on an item opens the popup menu" right_click_button 0
kv_screenshot menu_context_item
item_height=$(menu_height)
choose Escape
right_click_button 5
empty_height=$(menu_height)
choose Escape
# (450,400) lies in the gaps between the buttons: the launcher's own background.
right_click 450 400
background_height=$(menu_height)
choose Escape
kv_check "the empty slot after the last item has a shorter menu than an item ($empty_height < $item_height)" \
    test "$empty_height" -lt "$item_height"
kv_check "the background has the shortest menu ($background_height < $empty_height)" \
    test "$background_height" -lt "$empty_height"

right_click_button 1
choose i
kv_check "insert blank closes the menu, the launcher stays" test "$(launcher_state | cut -d' ' -f1)" = 1
right_click_button 0
choose d

right_click_button 0
choose c
kv_check "cancel keeps the launcher shown" test "$(launcher_state | cut -d' ' -f1)" = 1
# The button of a closed menu is no target of a delete sent later by another program.
kv_probe post 0x111 116 0 >/dev/null
kv_settle

# The version dialog; while it is open wheel clicks and hot keys do not reach the launcher.
right_click 450 400
kv_key v
kv_check "the version dialog opens" kv_probe wait-dialog Kestrovar 5000
kv_check "it shows the library version" kv_wait_for "version text" 5 \
    dialogs_show '1016 Static "Kestrovar.dll v3.0.7.3"'
kv_check "and the program version" dialogs_show '"Kestrovar Version 3.0.7.3"'
kv_screenshot menu_context_about
kv_wheel_click 100 100
kv_check "a wheel click meanwhile leaves the launcher alone" test "$(launcher_state | cut -d' ' -f1)" = 1
xdotool key alt+q
sleep 0.5
kv_check "so does Alt+Q" test "$(launcher_state | cut -d' ' -f1)" = 1
# The bare Alt release may have put the dialog into menu mode: press its OK button directly.
kv_probe press-dialog Kestrovar 1
kv_settle
kv_check "OK closes it" test -z "$(kv_probe dialogs | grep '^dialog "Kestrovar"$')"

# The theme submenu: the plain look first, a separator, then the theme folders.
right_click 450 400
kv_key t
kv_key Down
kv_screenshot menu_context_theme
choose Return
kv_check "choosing a theme changes the launcher's size" \
    test "$(launcher_state | cut -d' ' -f4-5)" != "153 53"
kv_screenshot menu_context_skinned
# The launcher's top-left corner is its own background in either look.
right_click_corner() {
    local x y
    read -r x y <<<"$(launcher_state | cut -d' ' -f2-3)"
    right_click $((x + 1)) $((y + 1))
}
right_click_corner
kv_key t
choose Return
kv_check "the default entry brings the plain look back" test "$(launcher_state | cut -d' ' -f4-5)" = "153 53"

right_click_corner
kv_key t
kv_key Down
choose Return
kv_check "and a theme again" test "$(launcher_state | cut -d' ' -f4-5)" != "153 53"

kv_check "quit" kv_quit
profile=$(kv_profile_dump)
item() { kv_dump_get "$profile" 'Path Name' "$1"; }
value() { kv_dump_get "$profile" Design "$1"; }
# Insert at 1 gave 0 ア, 2 イ, 3 ウ; delete at 0 then moved イ and ウ one slot back.
kv_check "delete at slot 0 emptied it" ! item Button0
kv_check "イ went to slot 2 and back to slot 1" test "$(item Button1)" = 'イ*C:\windows\regedit.exe'
kv_check "ウ went to slot 3 and back to slot 2" test "$(item Button2)" = 'ウ*C:\windows\notepad.exe x'
kv_check "nothing is left in slot 3" ! item Button3
kv_check "the skinned look is saved" test "$(value SkinMode)" = 1
chosen=$(value Theme)
kv_check "with the chosen theme folder's name ($chosen)" test -n "$chosen" -a -d "$KV_APP/Themes/$chosen"
kv_finish
