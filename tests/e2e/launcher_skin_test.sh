#!/usr/bin/env bash
# The skinned look: the launcher takes the body bitmap's size and the theme's grid, pixels of
# the theme's colour key are not painted, and the theme's grid reaches the profile at exit. A
# theme without a body image falls back to the plain look and the plain look's theme name.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup launcher_skin

visible() {
    test "$(kv_probe launcher | cut -d' ' -f1)" = 1
}

# Colour of one screen pixel of a screenshot as "r,g,b".
pixel() {
    convert "$KV_BUILD/e2e/$1.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# "id x y w h" lines of a cols x rows grid at origin (ox, oy) of a window at (wx, wy).
expected_buttons() {
    local wx=$1 wy=$2 cols=$3 rows=$4 ox=$5 oy=$6 space=$7 bw=$8 bh=$9 n=0 row col
    for ((row = 0; row < rows; row++)); do
        for ((col = 0; col < cols; col++)); do
            echo "$((1024 + n)) $((wx + ox + col * (bw + space))) $((wy + oy + row * (bh + space))) $bw $bh"
            n=$((n + 1))
        done
    done
}

show_theme() {
    local theme=$1
    kv_profile_set Design SkinMode REG_DWORD 1
    kv_profile_set Design Theme REG_SZ "$theme"
    kv_start || return 1
    kv_wheel_click 500 400
    visible
}

# Sandstone: a 152 x 110 body, 30 x 24 buttons, 4 x 3 grid at (10, 20), gap 4, green key.
kv_check "Sandstone shows" show_theme Sandstone
kv_check "the launcher takes the body bitmap's size, centred on the cursor" \
    test "$(kv_probe launcher)" = "1 424 345 152 110"
kv_check "the theme's 4 x 3 grid of 30 x 24 buttons" \
    test "$(kv_probe buttons | sort -n)" = "$(expected_buttons 424 345 4 3 10 20 4 30 24)"
kv_screenshot launcher_sandstone
desktop=$(pixel launcher_sandstone 300 300)
kv_check "key-coloured body pixels are not painted (top-left corner shows the desktop)" \
    test "$(pixel launcher_sandstone 424 345)" = "$desktop"
kv_check "the body is painted where it is not key-coloured" \
    test "$(pixel launcher_sandstone $((424 + 76)) $((345 + 5)))" != "$desktop"
kv_check "launcher quits" kv_quit
kv_check "the theme's columns are saved" test "$(kv_profile_get Design Col)" = 4
kv_check "the theme's rows are saved" test "$(kv_profile_get Design Row)" = 3
kv_check "the button size of the theme's image is saved" \
    test "$(kv_profile_get Design ButtonWidth) $(kv_profile_get Design ButtonHeight)" = "30 24"
kv_check "skin mode stays on" test "$(kv_profile_get Design SkinMode)" = 1

# Graphite: a 175 x 67 body with a magenta key, started as the system starts it at logon when
# it is to start with Windows: wineboot runs the command of the user's Run value from another
# folder. The themes are still found beside the program.
RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
start_from_run_value() {
    kv_wine reg add "$RUN_KEY" /v Kestrovar /d '"C:\Kestrovar\Kestrovar.exe"' /f >/dev/null 2>&1 || return 1
    KV_PID=
    (cd "$WINEPREFIX/drive_c" && exec wine wineboot </dev/null >>"$KV_WORK/kestrovar.log" 2>&1)
    kv_probe wait-ready 30000
}
kv_profile_set Design SkinMode REG_DWORD 1
kv_profile_set Design Theme REG_SZ Graphite
kv_check "the Run value's command starts the program" start_from_run_value
kv_wheel_click 500 400
kv_check "Graphite shows" visible
kv_check "the launcher takes Graphite's body size" test "$(kv_probe launcher)" = "1 413 367 175 67"
kv_screenshot launcher_graphite
kv_check "Graphite's magenta corner is not painted" \
    test "$(pixel launcher_graphite 413 367)" = "$(pixel launcher_graphite 300 300)"
kv_check "launcher quits" kv_quit
kv_check "the theme is kept" test "$(kv_profile_get Design Theme)" = Graphite

# A theme whose definition names no body image.
mkdir -p "$KV_APP/Themes/NoBody"
printf '[Design]\r\nXButton=4\r\nYButton=3\r\n' >"$KV_APP/Themes/NoBody/NoBody.kvs"
kv_check "a theme without a body image still shows the launcher" show_theme NoBody
# The loader stops at the missing body image: the grid keeps the last theme's 6 x 2.
kv_check "in the plain look" test "$(kv_probe launcher | cut -d' ' -f4-5)" = "153 53"
kv_check "launcher quits" kv_quit
kv_check "the plain look's theme name is saved" test "$(kv_profile_get Design Theme)" = 'ﾃﾞﾌｫﾙﾄ'
kv_check "skin mode is saved off" test "$(kv_profile_get Design SkinMode)" = 0
kv_finish
