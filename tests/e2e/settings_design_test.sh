#!/usr/bin/env bash
# The design page: the theme list from the Themes folder, the plain-look layout controls that
# follow the theme choice, opacity and grid edits applied to the record, and the preview that
# shows the chosen theme's body at (10, 10) with its pointed-at button.
source "$KV_SOURCE/tests/e2e/lib.sh"
source "$KV_SOURCE/tests/e2e/settings_lib.sh"
kv_setup settings_design

CB_GETCURSEL=0x147 CB_SETCURSEL=0x14E CBN_SELCHANGE=1
TBM_GETPOS=0x400 TBM_SETPOS=0x405 UDM_GETPOS=0x468
THEME=1012 ICON_SIZE=1015 TRACKBAR=1001 COLS=1003 COLS_SPIN=1004 ROWS=1005 ROWS_SPIN=1006 PREVIEW=1692
PLAIN='ﾃﾞﾌｫﾙﾄ'

# A theme with known colours: a blue body with one magenta (transparent) pixel at (1, 1) and a
# green pointed-at button at (6, 4).
theme="$KV_APP/Themes/Probe"
mkdir -p "$theme"
convert -size 60x30 xc:'#2040C0' -fill magenta -draw 'point 1,1' BMP3:"$theme/body.bmp"
convert -size 22x22 xc:'#20C040' BMP3:"$theme/on.bmp"
printf '[Design]\r\nColorKey=0xFF00FF\r\nBodyImage=body.bmp\r\nButtonOnMouseImage=on.bmp\r\nIconSize=16\r\nButtonSpace=3\r\nXButton=3\r\nYButton=1\r\n\r\n[Position]\r\nx=6\r\ny=4\r\n' >"$theme/Probe.kvs"
# Files in the Themes folder are listed too: one with a full stop reads as the plain look.
# (Wine's sorted lists put files before "[..]", so a file without a full stop would take the
# plain look's index 0 here.)
echo notes >"$KV_APP/Themes/readme.txt"

kv_profile_set Design Theme REG_SZ "$PLAIN"
kv_profile_set Design WindowTPValue REG_DWORD 200

select_theme() {
    local index
    index=$(kv_page_items $THEME | grep -n -x -F "$1" | head -1 | cut -d: -f1)
    [ -n "$index" ] || return 1
    kv_page_send $THEME $CB_SETCURSEL $((index - 1)) 0 >/dev/null
    kv_probe page-notify "$KV_SHEET" $THEME $CBN_SELCHANGE
    kv_sheet_settle
}
layout_enabled() {
    local id
    for id in $COLS $COLS_SPIN $ROWS $ROWS_SPIN $ICON_SIZE; do kv_page_enabled $id || return 1; done
}
layout_disabled() {
    local id
    for id in $COLS $COLS_SPIN $ROWS $ROWS_SPIN $ICON_SIZE; do ! kv_page_enabled $id || return 1; done
}
click_up_arrow() {
    local x y w h
    read -r _ _ x y w h _ <<<"$(kv_page_control "$1")"
    xdotool mousemove $((x + w / 2)) $((y + h / 4)) click 1
    kv_sheet_settle
}
pixel() { convert "$KV_SHOTS/$1.png" -format "%[hex:p{$2,$3}]" info:; }

# Run 1: the plain look with a new opacity, grid and icon size.
kv_check "launcher starts" kv_start
kv_sheet_open
kv_sheet_page 2
kv_check "theme list: the folder listing rewritten" test "$(kv_page_items $THEME | LC_ALL=C sort | tr '\n' ' ')" = \
    "$(printf '%s\n' Graphite Probe Sandstone "$PLAIN" "$PLAIN" | LC_ALL=C sort | tr '\n' ' ')"
kv_check "the first entry is the plain look and is selected" \
    test "$(kv_page_items $THEME | head -1),$(kv_page_send $THEME $CB_GETCURSEL 0 0)" = "$PLAIN,0"
kv_check "icon-size list from the template's initialisation data" \
    test "$(kv_page_items $ICON_SIZE | tr '\n' ,)" = "16 x 16,32 x 32,"
kv_check "plain look: the layout controls are enabled" layout_enabled
kv_check "the trackbar shows the stored opacity" test "$(kv_page_send $TRACKBAR $TBM_GETPOS 0 0)" = 200
kv_check "a fresh page is unchanged" ! kv_page_enabled $KV_APPLY_BUTTON
kv_page_send $TRACKBAR $TBM_SETPOS 1 5 >/dev/null
kv_sheet_settle
kv_check "the trackbar stops at 10" test "$(kv_page_send $TRACKBAR $TBM_GETPOS 0 0)" = 10
kv_check "a moved trackbar marks the page changed" kv_page_enabled $KV_APPLY_BUTTON
click_up_arrow $COLS_SPIN
kv_check "the up arrow adds a column" test "$(($(kv_page_send $COLS_SPIN $UDM_GETPOS 0 0) & 0xFFFF))" = 7
kv_page_send $ICON_SIZE $CB_SETCURSEL 1 0 >/dev/null
kv_probe page-notify "$KV_SHEET" $ICON_SIZE $CBN_SELCHANGE
kv_screenshot settings_design_page
kv_sheet_close 1
kv_wheel_click 500 400
[ "$(kv_probe launcher | cut -d' ' -f1-2)" = "1 -9999" ] && kv_wheel_click 500 400
kv_check "the launcher is rebuilt with 7 columns of 38-pixel buttons" \
    test "$(kv_probe launcher | cut -d' ' -f1,4,5)" = "1 290 85"
kv_check "exit" kv_quit
profile=$(kv_profile_dump)
kv_check "plain look applied: IconSize 32, buttons 38, Col 7, opacity 10, SkinMode 0" test \
    "$(for k in IconSize ButtonWidth ButtonHeight Col Row WindowTPValue SkinMode Theme; do kv_dump_get "$profile" Design $k; done | tr '\n' ' ')" = \
    "32 38 38 7 2 10 0 $PLAIN "

# Run 2: choosing a theme.
kv_check "launcher starts again" kv_start
kv_wheel_click 500 400
# A grid applied and then cancelled is still applied: the window and its buttons both take it.
kv_sheet_open
kv_sheet_page 2
click_up_arrow $ROWS_SPIN
kv_probe press-dialog "$KV_SHEET" $KV_APPLY_BUTTON >/dev/null
kv_sheet_settle
kv_sheet_close 2
kv_check "Apply, then Cancel: the launcher comes back with 3 rows, all its buttons inside" \
    test "$(kv_probe launcher | cut -d' ' -f1,4,5) $(kv_probe buttons | wc -l)" = "1 290 126 21"
kv_sheet_open
kv_sheet_page 2
read -r _ _ px py _ _ <<<"$(kv_page_control $PREVIEW)"
kv_screenshot settings_design_plain
face=$(pixel settings_design_plain $((px + 5)) $((py + 5)))
kv_check "the plain look's preview is empty face colour" test "$(pixel settings_design_plain $((px + 12)) $((py + 12)))" = "$face"
select_theme Probe
kv_check "choosing a theme disables the layout controls" layout_disabled
kv_check "choosing a theme marks the page changed" kv_page_enabled $KV_APPLY_BUTTON
kv_screenshot settings_design_theme
kv_check "preview: the body's top left at (10, 10)" test "$(pixel settings_design_theme $((px + 10)) $((py + 10)))" = 2040C0
kv_check "preview: nothing left of or above (10, 10)" test "$(pixel settings_design_theme $((px + 9)) $((py + 9)))" = "$face"
kv_check "preview: the body's magenta pixel shows the face colour" \
    test "$(pixel settings_design_theme $((px + 11)) $((py + 11)))" = "$face"
kv_check "preview: the pointed-at button at (10 + 6, 10 + 4)" \
    test "$(pixel settings_design_theme $((px + 16)) $((py + 14)))" = 20C040
select_theme "$PLAIN"
kv_check "the first entry enables the layout controls again" layout_enabled
select_theme Probe
kv_sheet_close 1
kv_check "exit" kv_quit
profile=$(kv_profile_dump)
kv_check "theme applied: Theme Probe, SkinMode 1" \
    test "$(kv_dump_get "$profile" Design Theme),$(kv_dump_get "$profile" Design SkinMode)" = Probe,1
kv_finish
