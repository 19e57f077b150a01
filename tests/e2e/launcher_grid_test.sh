#!/usr/bin/env bash
# Grids out of the usual range: a 31 x 30 grid whose button ids reach the menu command ids (a
# click on the button with id 1924 is a button click, not the "default theme" command), and a
# grid with no columns, which builds no buttons.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup launcher_grid

visible() {
    test "$(kv_probe launcher | cut -d' ' -f1)" = "$1"
}

kv_profile_set Design Col REG_DWORD 31
kv_profile_set Design Row REG_DWORD 30
kv_check "launcher with a 31 x 30 grid starts" kv_start
kv_wheel_click 500 400
# 3 + 31 * 25 = 778 wide, 3 + 30 * 25 = 753 high, centred on (500, 400) and kept on the screen.
kv_check "it shows 778 x 753 pixels, kept on the screen" test "$(kv_probe launcher)" = "1 111 15 778 753"
kv_check "with 930 buttons" test "$(kv_probe buttons | wc -l)" = 930
# Slot 900 (id 1924) is column 1 of row 29.
kv_check "button 1924 lies in column 1 of row 29" \
    test "$(kv_probe buttons | awk '$1 == 1924 {print $2, $3}')" = "139 743"
xdotool mousemove 150 754 click 1
kv_settle
kv_check "clicking the empty button 1924 hides the launcher like any empty button" visible 0
kv_check "launcher quits" kv_quit

kv_profile_set Design Col REG_DWORD 0
kv_check "launcher with no columns starts" kv_start
kv_wheel_click 500 400
kv_check "it builds no buttons" test -z "$(kv_probe buttons)"
kv_check "and still shows and hides" visible 1
kv_wheel_click 500 400
kv_check "hidden again" visible 0
kv_check "launcher quits" kv_quit
kv_finish
