#!/usr/bin/env bash
# The launcher on a screen scaled above 100 %: it draws itself at the screen's DPI at the size it
# has at 96 DPI, and the system does not stretch it. At 144 DPI (150 %) the plain look's window,
# buttons and gaps are 1.5 times as large and the icons come from the shell at 24 pixels; the
# profile keeps its 96-DPI values. At 192 DPI (200 %) a theme is drawn at twice its size, every
# pixel a 2 x 2 block.
source "$KV_SOURCE/tests/e2e/lib.sh"
source "$KV_SOURCE/tests/e2e/settings_lib.sh"
kv_setup launcher_dpi

data_file="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Kestrovar/Kestrovar.dat"
# Width of the data file's images, from the image list header.
image_size() { od -An -tu2 -j10 -N2 "$data_file" | tr -d ' '; }

# Prints the buttons that lie more than a pixel from where 1.5 times the 96-DPI grid of the
# default look (origin 3, gap 3, 22-pixel buttons, 6 columns) puts them in the window at (wx, wy).
misplaced_buttons() {
    kv_probe buttons | awk -v wx="$1" -v wy="$2" '
        function off(a, b) { return a - b > 1 || b - a > 1 }
        { n = $1 - 1024; col = n % 6; row = int(n / 6)
          x = wx + 1.5 * (3 + 25 * col); y = wy + 1.5 * (3 + 25 * row)
          if (off($2, x) || off($3, y) || off($4, 33) || off($5, 33)) print }'
}

kv_set_dpi 144
kv_profile_load <<'EOF'
Kestrovar\Path Name	Button0	REG_SZ	メモ帳*C:\windows\notepad.exe
Kestrovar\Path Name	Button1	REG_SZ	レジストリ*C:\windows\regedit.exe
EOF
kv_check "launcher starts at 144 DPI" kv_start
kv_wheel_click 500 400
# 1.5 x (153 x 53), centred on the cursor.
kv_check "it shows 230 x 80 pixels, 1.5 times its 96-DPI size" test "$(kv_probe launcher)" = "1 385 360 230 80"
kv_check "with 12 buttons" test "$(kv_probe buttons | wc -l)" = 12
kv_check "each 1.5 times as large and as far apart as at 96 DPI" test -z "$(misplaced_buttons 385 360)"
kv_screenshot launcher_dpi_144
# The sheet's dialog units follow its font, which the system sizes for the screen's DPI.
kv_check "the settings sheet opens" kv_sheet_open
kv_sheet_page 1
kv_screenshot launcher_dpi_144_sheet
kv_check "and closes with Cancel" kv_sheet_close 2
kv_check "launcher quits" kv_quit
kv_check "the icons came from the shell at 24 pixels" test "$(image_size)" = 24
kv_check "the profile keeps the 96-DPI sizes" \
    test "$(kv_profile_get Design IconSize) $(kv_profile_get Design ButtonWidth)" = "16 22"

# Without items: icons are drawn at the scaled size, not enlarged, so they are no 2 x 2 blocks.
kv_set_dpi 192
kv_profile_delete "Path Name" Button0
kv_profile_delete "Path Name" Button1
kv_profile_set Design SkinMode REG_DWORD 1
kv_profile_set Design Theme REG_SZ Sandstone
kv_check "launcher starts at 192 DPI with a theme" kv_start
kv_wheel_click 500 400
# Sandstone's 152 x 110 body and its 30 x 24 buttons at (10, 20), doubled.
kv_check "the theme's body is drawn at twice its size" test "$(kv_probe launcher)" = "1 348 290 304 220"
kv_check "and its buttons at twice their size and place" \
    test "$(kv_probe buttons | sort -n | head -1)" = "1024 368 330 60 48"
# Pointer off the launcher: no pointed face and no tooltip over the picture.
xdotool mousemove 5 5
kv_settle
kv_screenshot launcher_dpi_192_theme
shot="$KV_BUILD/e2e/launcher_dpi_192_theme.png"
crop="$KV_WORK/launcher_crop.png"
convert "$shot" -crop 304x220+348+290 +repage "$crop"
convert "$crop" -sample 50% -sample 200% "$KV_WORK/launcher_blocks.png"
blocky() { compare -metric AE "$crop" "$KV_WORK/launcher_blocks.png" null: 2>&1 | grep -qx 0; }
kv_check "every theme pixel is a sharp 2 x 2 block, never smoothed" blocky
kv_check "launcher quits" kv_quit
kv_check "the profile keeps the theme's own button size" \
    test "$(kv_profile_get Design ButtonWidth) $(kv_profile_get Design ButtonHeight)" = "30 24"
kv_finish
