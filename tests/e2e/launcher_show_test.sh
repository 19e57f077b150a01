#!/usr/bin/env bash
# Wheel clicks show the launcher centred on the cursor and kept on the screen, a second click
# hides it; Esc hides it; the arrow keys walk the cursor from button to button.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup launcher_show

# Screen positions of the twelve buttons of a default launcher at (x, y): "id x y 22 22" lines.
expected_buttons() {
    local x=$1 y=$2 n=0 row col
    for row in 0 1; do
        for col in 0 1 2 3 4 5; do
            echo "$((1024 + n)) $((x + 3 + col * 25)) $((y + 3 + row * 25)) 22 22"
            n=$((n + 1))
        done
    done
}

launcher_at() {
    test "$(kv_probe launcher)" = "$1"
}

# Colour of one screen pixel of a screenshot as "r,g,b".
pixel() {
    convert "$KV_BUILD/e2e/$1.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

cursor_at() {
    local want=$1 got
    got=$(xdotool getmouselocation | sed -E 's/x:([0-9-]+) y:([0-9-]+).*/\1 \2/')
    [ "$got" = "$want" ] || { echo "# cursor at $got, expected $want"; return 1; }
}

kv_check "launcher starts hidden" kv_start
kv_check "hidden after start" test "$(kv_probe launcher | cut -d' ' -f1)" = 0

kv_wheel_click 500 400
kv_check "wheel click at (500,400) shows the 153x53 launcher at (424,374)" launcher_at "1 424 374 153 53"
kv_check "its twelve buttons lie on the 25-pixel grid" \
    test "$(kv_probe buttons | sort -n)" = "$(expected_buttons 424 374)"
kv_screenshot launcher_plain
between_buttons=$(pixel launcher_plain $((424 + 76)) $((374 + 26)))
kv_check "the launcher is painted in place (neither black nor the desktop between the buttons)" \
    test "$between_buttons" != "0,0,0" -a "$between_buttons" != "$(pixel launcher_plain 300 300)"
kv_check "the launcher is the foreground window" \
    test "$(kv_probe foreground | cut -f2)" = "Kestrovar Body Window!"

# The cursor (500,400) lies between buttons: the first arrow key goes to button 0.
kv_key Right
kv_check "arrow key from no button goes to button 0's centre" cursor_at "438 388"
kv_key Right
kv_check "Right goes to the next button" cursor_at "463 388"
kv_key Down
kv_check "Down goes to the button below" cursor_at "463 413"
# One key at a time: Wine moves the pointer asynchronously, and a key handled before the pointer
# arrived would start from the old button.
kv_key Left
kv_key Left
kv_check "Left from the first button of a row wraps to the end of the row before" cursor_at "563 388"
kv_key Up
kv_check "Up from the top row goes to the bottom of the column to the left" cursor_at "538 413"

kv_key Escape
kv_check "Esc hides the launcher" test "$(kv_probe launcher | cut -d' ' -f1)" = 0
kv_check "a hidden launcher is parked off screen" test "$(kv_probe launcher | cut -d' ' -f2-3)" = "-9999 -9999"
kv_check "the launcher no longer has the foreground" \
    test "$(kv_probe foreground | cut -f2)" != "Kestrovar Body Window!"

kv_wheel_click 500 400
kv_check "shown again" launcher_at "1 424 374 153 53"
kv_wheel_click 500 400
kv_check "a second wheel click hides it" test "$(kv_probe launcher | cut -d' ' -f1)" = 0
# The pointer moves on at once after the click: the launcher still shows where it was clicked.
xdotool mousemove 300 300 click 2 mousemove 700 600
kv_check "a quick wheel click shows it centred where it was clicked" \
    kv_wait_for "the launcher shown" 5 launcher_at "1 224 274 153 53"
kv_key Escape

# A system setting change rebuilds the plain launcher; a hidden one stays hidden, so the next
# wheel click shows it rather than hiding an invisible launcher.
kv_probe post 26 0 0 >/dev/null # WM_SETTINGCHANGE
kv_settle
kv_check "a rebuild while hidden leaves the launcher hidden" test "$(kv_probe launcher | cut -d' ' -f1)" = 0
kv_wheel_click 500 400
kv_check "and the next wheel click shows it" launcher_at "1 424 374 153 53"
kv_wheel_click 463 388
kv_check "a wheel click on one of its buttons hides it" test "$(kv_probe launcher | cut -d' ' -f1)" = 0

kv_wheel_click 1023 767
kv_check "in the bottom-right corner it is kept on the screen at (871,715)" launcher_at "1 871 715 153 53"
kv_wheel_click 1023 767
# Shown in the corner with the pointer on button 0 (at 3..25, 3..25), its frame is drawn in the
# shadow colour; a wheel click on it hides the launcher. Shown again with the pointer off every
# button, no button keeps that frame.
button0_pointed() { test "$(pixel "$1" 3 3)" != "$(pixel "$1" 1 1)"; }
kv_wheel_click 20 10
kv_screenshot launcher_pointed
kv_check "shown with the pointer on a button, that button is drawn pointed at" button0_pointed launcher_pointed
kv_wheel_click 20 10
kv_wheel_click 0 0
kv_check "in the top-left corner it is kept on the screen at (0,0)" launcher_at "1 0 0 153 53"
kv_screenshot launcher_corner
kv_check "shown with the pointer off the buttons, none is drawn pointed at" eval '! button0_pointed launcher_corner'
kv_wheel_click 0 0

# Hidden by a wheel click on a button after the command of another was edited: a tooltip still
# lay under the pointer and took the foreground, which left no window in front once it hid,
# and the next show could not take it back (its keys went nowhere).
# The desktop is told by its class: a probe that has run for a while reads its title empty.
in_front() { kv_probe foreground | grep -qF "$1"; }
kv_profile_set "Path Name" Button1 REG_SZ 'x*C:\windows\notepad.exe'
kv_probe send 0x111 111 0 >/dev/null  # refresh: the new item shows
kv_wheel_click 500 400
xdotool mousemove 463 388 sleep 0.2 click 3
kv_probe find-class '#32768' 3000 >/dev/null
xdotool key e
kv_probe wait-dialog '起動ｺﾏﾝﾄﾞの編集' 5000 >/dev/null
kv_probe dialog-settext '起動ｺﾏﾝﾄﾞの編集' 1005 'C:\windows\regedit.exe' >/dev/null
kv_key Return
kv_wheel_click 488 413
kv_check "hidden, the window under the pointer is in front" kv_wait_for "the desktop in front" 5 in_front "#32769"
kv_wheel_click 871 104
kv_check "shown again, the launcher is in front" kv_wait_for "the launcher in front" 5 in_front "Kestrovar Body Window!"
kv_wheel_click 871 104

kv_check "exit command ends the process" kv_quit
kv_finish
