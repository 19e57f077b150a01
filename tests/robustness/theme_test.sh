#!/usr/bin/env bash
# Broken and hostile themes through Kestrovar.exe: missing folders, definition files and bitmaps,
# bitmaps that are empty, not BMP, lying about their size or 1 x 1, over-long names and paths,
# colour keys that are not hex, and numbers far outside their ranges. Each case starts the
# program with the theme chosen, shows, hides and quits it; the launcher must take either the
# plain look (and the profile the plain look's theme name) or the theme's body with bounded
# values, stay within a sane memory size, and the profile must keep its items.
source "$KV_SOURCE/tests/robustness/lib.sh"
source "$KV_SOURCE/tests/e2e/settings_lib.sh"
kv_setup robustness_theme
T=$'\t'
themes="$KV_APP/Themes"
PLAIN_NAME='ﾃﾞﾌｫﾙﾄ'
PLAIN_SIZE="153 53"  # the default 6 x 2 grid of 16-pixel icons
DEFAULT_GRID="Kestrovar\\Design${T}Col${T}REG_DWORD${T}6
Kestrovar\\Design${T}Row${T}REG_DWORD${T}2
Kestrovar\\Design${T}IconSize${T}REG_DWORD${T}16"
MAX_RSS_KB=$((400 * 1024))
ITEMS="Kestrovar\\Path Name${T}Button0${T}REG_SZ${T}メモ帳*C:\\windows\\notepad.exe
Kestrovar\\Path Name${T}Button1${T}REG_SZ${T}レジストリ*C:\\windows\\regedit.exe
Kestrovar\\Path Name${T}Button7${T}REG_SZ${T}エクスプローラ*C:\\windows\\explorer.exe"
cases=0

# bmp FILE WIDTH HEIGHT: a 24-bit BMP of one grey.
bmp() {
    python3 - "$@" <<'EOF'
import struct, sys
path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
row = (width * 3 + 3) & ~3
pixels = (b"\x80\x80\x80" * width + b"\0" * (row - width * 3)) * height
header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
open(path, "wb").write(header + info + pixels)
EOF
}

# odd_bmp FILE KIND: a 60 x 40 BMP whose headers the loader accepts but whose data are hostile:
# run-length codes that run past rows and jump past the image, bit fields of zero masks, a top-down
# image of noise.
odd_bmp() {
    python3 - "$@" <<'EOF'
import random, struct, sys
path, kind = sys.argv[1], sys.argv[2]
noise = random.Random(7)
def write(height, bits, compression, table, pixels):
    info = struct.pack("<IiiHHIIiiII", 40, 60, height, 1, bits, compression, len(pixels), 0, 0, 0, 0)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    open(path, "wb").write(header + info + table + pixels)
if kind == "rle8-runaway":
    write(40, 8, 1, bytes(1024), b"\xff\x01" * 200 + b"\x00\x02\xff\xff" * 50 + b"\x00\x00" * 100 + b"\x00\x03\x05\x05\x05")
elif kind == "rle4-noise":
    write(40, 4, 2, bytes(64), bytes(noise.randrange(256) for _ in range(2000)))
elif kind == "bitfields-zero":
    write(40, 16, 3, bytes(12), bytes(60 * 2 * 40))
elif kind == "top-down-noise":
    write(-40, 24, 0, b"", bytes(noise.randrange(256) for _ in range(180 * 40)))
EOF
}

# theme NAME LINES...: Themes\NAME\NAME.kvs with these lines.
theme() {
    local name=$1
    shift
    mkdir -p "$themes/$name"
    printf '%s\r\n' "$@" >"$themes/$name/$name.kvs"
}

# A usable 60 x 40 body in the theme folder NAME.
body() {
    mkdir -p "$themes/$1"
    bmp "$themes/$1/body.bmp" 60 40
}

# Resident size of the running program; a gone process counts as over any bound.
rss_kb() {
    awk '/^VmRSS/ { print $2 }' "/proc/$KV_PID/status" 2>/dev/null | grep . || echo 999999999
}

# theme_case NAME THEME LOOK [BUTTONS]: start with THEME chosen. LOOK is "plain" or the body's
# "W H"; BUTTONS, when given, is the number of launcher buttons the theme's grid must make.
theme_case() {
    local name=$1 theme=$2 look=$3 buttons=${4:-}
    cases=$((cases + 1))
    # One import: the items, the grid the plain look's size is checked against, and the theme.
    printf '%s\n' "$ITEMS" "$DEFAULT_GRID" "Kestrovar\\Design${T}SkinMode${T}REG_DWORD${T}1" \
        "Kestrovar\\Design${T}Theme${T}REG_SZ${T}$theme" | kv_profile_load
    if ! kv_start; then
        kv_check "$name: starts" false
        kv_probe dialogs | head -3
        kv_kill
        return
    fi
    kv_wheel_click 500 400
    local geometry
    geometry=$(kv_probe launcher)
    kv_check "$name: shows" test "${geometry%% *}" = 1
    if [ "$look" = plain ]; then
        kv_check "$name: in the plain look" test "$(echo "$geometry" | cut -d' ' -f4-5)" = "$PLAIN_SIZE"
    else
        kv_check "$name: with the theme's body ($look)" test "$(echo "$geometry" | cut -d' ' -f4-5)" = "$look"
    fi
    local all first
    all=$(kv_probe buttons)
    [ -n "$buttons" ] && kv_check "$name: $buttons buttons" test "$(printf '%s\n' "$all" | grep -c .)" = "$buttons"
    # Point at the first button of a theme and press it without releasing over it: the on-mouse
    # and down faces paint, and nothing is launched.
    first=$(printf '%s\n' "$all" | sort -n | head -1)
    if [ "$look" != plain ] && [ -n "$first" ]; then
        set -- $first
        xdotool mousemove $(($2 + $4 / 2)) $(($3 + $5 / 2)) mousedown 1 sleep 0.2 mousemove 900 700 mouseup 1
        kv_settle
    fi
    local rss
    rss=$(rss_kb)
    echo "# $name: $((rss / 1024)) MB resident"
    kv_check "$name: memory stays below $((MAX_RSS_KB / 1024)) MB" test "$rss" -lt $MAX_RSS_KB
    [ "$look" = plain ] || kv_screenshot "robustness_theme_$cases"
    kv_wheel_click 500 400
    kv_check "$name: hides" test "$(kv_probe launcher | cut -d' ' -f1)" = 0
    kv_quit 20
    kv_check "$name: ends cleanly" test "${KV_EXIT_STATUS:-1}" = 0
    local dump
    dump=$(kv_profile_dump)
    kv_check "$name: the items are intact" test "$(printf '%s\n' "$dump" | grep -F 'Path Name')" = \
        "$(printf '%s\n' "$ITEMS" | LC_ALL=C sort)"
    if [ "$look" = plain ]; then
        kv_check "$name: the plain look's theme name is saved" test "$(kv_dump_get "$dump" Design Theme)" = "$PLAIN_NAME"
        kv_check "$name: skin mode saved off" test "$(kv_dump_get "$dump" Design SkinMode)" = 0
    else
        kv_check "$name: the theme name is kept" test "$(kv_dump_get "$dump" Design Theme)" = "$theme"
        kv_check "$name: skin mode stays on" test "$(kv_dump_get "$dump" Design SkinMode)" = 1
    fi
}

# --- what is missing or unreadable: the plain look --------------------------------------------
theme_case "missing theme folder" Nowhere plain
mkdir -p "$themes/NoDefinition" && body NoDefinition
theme_case "missing definition file" NoDefinition plain
theme NoBody '[Design]' 'BodyImage=body.bmp'
theme_case "missing body bitmap" NoBody plain

theme ZeroBody '[Design]' 'BodyImage=body.bmp'
: >"$themes/ZeroBody/body.bmp"
theme_case "zero-byte body bitmap" ZeroBody plain
theme TextBody '[Design]' 'BodyImage=body.bmp'
echo "not a bitmap" >"$themes/TextBody/body.bmp"
theme_case "body that is not a BMP" TextBody plain
# A 2 x 2 file whose header claims 30000 x 30000 pixels.
theme LyingBody '[Design]' 'BodyImage=body.bmp'
bmp "$themes/LyingBody/body.bmp" 2 2
printf '\x30\x75\x00\x00\x30\x75\x00\x00' | dd of="$themes/LyingBody/body.bmp" bs=1 seek=18 conv=notrunc 2>/dev/null
theme_case "body claiming 30000 x 30000 pixels" LyingBody plain
theme WideBody '[Design]' 'BodyImage=body.bmp'
bmp "$themes/WideBody/body.bmp" 8193 1
theme_case "body 8193 pixels wide" WideBody plain

# Folders where files belong, and a 20 MB definition file whose body line comes last.
theme DirBody '[Design]' 'BodyImage=body.bmp'
mkdir -p "$themes/DirBody/body.bmp"
theme_case "a folder in the body bitmap's place" DirBody plain
mkdir -p "$themes/DirDefinition/DirDefinition.kvs" && body DirDefinition
theme_case "a folder in the definition file's place" DirDefinition plain
body BigDefinition
{
    head -c 15000000 /dev/zero | tr '\0' 'k' | fold -w 200 | sed 's/^/; /;s/$/\r/'
    printf '[Design]\r\nBodyImage=body.bmp\r\n'
} >"$themes/BigDefinition/BigDefinition.kvs"
theme_case "a 15 MB definition file" BigDefinition "60 40"

# --- over-long names and paths -----------------------------------------------------------------
theme_case "300-character theme name" "$(printf 'L%.0s' $(seq 300))" plain
long=$(printf 'M%.0s' $(seq 200))
theme "$long" '[Design]' 'BodyImage=body.bmp' && body "$long"
theme_case "theme path beyond MAX_PATH" "$long" plain
longfile=$(printf 'f%.0s' $(seq 240)).bmp
theme LongFile '[Design]' "BodyImage=$longfile"
bmp "$themes/LongFile/$longfile" 60 40
theme_case "bitmap path beyond MAX_PATH" LongFile plain

# --- loadable themes with odd contents -----------------------------------------------------------
theme Tiny '[Design]' 'BodyImage=body.bmp' 'ButtonImage=b.bmp' 'ButtonOnMouseImage=b.bmp' 'ButtonDownImage=b.bmp'
bmp "$themes/Tiny/body.bmp" 1 1
bmp "$themes/Tiny/b.bmp" 1 1
theme_case "1 x 1 body and buttons" Tiny "1 1" 12

# Button faces absent, empty and not BMP: the body alone is used.
theme BadButtons '[Design]' 'BodyImage=body.bmp' 'ButtonImage=gone.bmp' 'ButtonOnMouseImage=empty.bmp' \
    'ButtonDownImage=text.bmp' 'XButton=3' 'YButton=1'
body BadButtons
: >"$themes/BadButtons/empty.bmp"
echo "not a bitmap" >"$themes/BadButtons/text.bmp"
theme_case "button bitmaps absent, empty, not BMP" BadButtons "60 40" 3

# Bitmaps that load but whose data are hostile, as body and as every button face.
theme OddData '[Design]' 'BodyImage=body.bmp' 'ButtonImage=b.bmp' 'ButtonOnMouseImage=on.bmp' 'ButtonDownImage=down.bmp' \
    'XButton=2' 'YButton=1'
odd_bmp "$themes/OddData/body.bmp" rle8-runaway
odd_bmp "$themes/OddData/b.bmp" rle4-noise
odd_bmp "$themes/OddData/on.bmp" bitfields-zero
odd_bmp "$themes/OddData/down.bmp" top-down-noise
theme_case "bitmaps of hostile run-length, bit-field and top-down data" OddData "60 40" 2

theme WordKey '[Design]' 'ColorKey=purple' 'BodyImage=body.bmp'
body WordKey
theme_case "colour key 'purple'" WordKey "60 40"
theme LongKey '[Design]' 'ColorKey=0xFFFFFFFFFFFFFFFFFFFFFFFF' 'BodyImage=body.bmp'
body LongKey
theme_case "colour key of 24 hex digits" LongKey "60 40"

# Huge numbers: bounded to a 32 x 32 grid of 128-pixel icons; the window keeps the body's size.
theme Huge '[Design]' 'BodyImage=body.bmp' 'ButtonImage=b.bmp' 'IconSize=2147483647' 'ButtonSpace=99999999999' \
    'XButton=2147483647' 'YButton=4294967296' '[Position]' 'x=999999999' 'y=99999'
body Huge
bmp "$themes/Huge/b.bmp" 30 24
theme_case "huge numbers" Huge "60 40" 1024
dump=$(kv_profile_dump)
kv_check "huge numbers: the bounded grid is saved" test "$(kv_dump_get "$dump" Design Col) $(kv_dump_get "$dump" Design Row)" = "32 32"
kv_check "huge numbers: the bounded icon size is saved" test "$(kv_dump_get "$dump" Design IconSize)" = 128

theme Negative '[Design]' 'BodyImage=body.bmp' 'IconSize=-16' 'ButtonSpace=-1' 'XButton=-5' \
    'YButton=-2147483648' '[Position]' 'x=-100' 'y=-2147483649'
body Negative
theme_case "negative numbers" Negative "60 40" 1
dump=$(kv_profile_dump)
kv_check "negative numbers: the bounded grid is saved" test "$(kv_dump_get "$dump" Design Col) $(kv_dump_get "$dump" Design Row)" = "1 1"

# --- the settings sheet's preview of every theme above, then two of them chosen with OK ---------
THEME_LIST=1012 CB_SETCURSEL=0x14E CBN_SELCHANGE=1
cases=$((cases + 1))
rb_profile "$ITEMS"
kv_start
kv_sheet_open
kv_sheet_page 2
entries=$(kv_page_items $THEME_LIST | wc -l)
kv_check "preview: every theme folder is listed" test "$entries" -ge "$(ls "$themes" | wc -l)"
# The selection notice is sent, so the preview has loaded the theme when the probe returns; a
# probe that fails or waits for half a minute means the sheet crashed or hangs.
preview_step() {
    local started=$SECONDS status
    timeout 30 wine "$KV_BIN/kvprobe.exe" "$@" </dev/null >/dev/null 2>>"$KV_WORK/probe.log"
    status=$?
    [ $status -eq 0 ] || echo "# $1 ${*:4}: exit $status after $((SECONDS - started)) s"
    return $status
}
preview() {
    preview_step page-send "$KV_SHEET" $THEME_LIST $CB_SETCURSEL "$1" 0 &&
        preview_step page-notify "$KV_SHEET" $THEME_LIST $CBN_SELCHANGE
}
alive=1
for ((i = 0; i < entries; i++)); do
    preview $i || { alive=0; echo "# preview of entry $i ($(kv_page_items $THEME_LIST | sed -n "$((i + 1))p")): no answer"; break; }
done
kv_check "preview: the sheet answers after previewing all $entries entries" test $alive = 1
choose() {
    local index
    kv_sheet_open && kv_sheet_page 2 || return 1
    index=$(kv_page_items $THEME_LIST | grep -n -x -F "$1" | head -1 | cut -d: -f1)
    [ -n "$index" ] || return 1
    kv_page_send $THEME_LIST $CB_SETCURSEL $((index - 1)) 0 >/dev/null
    kv_probe page-notify "$KV_SHEET" $THEME_LIST $CBN_SELCHANGE >/dev/null
    kv_sheet_settle
    kv_sheet_close 1
}
kv_sheet_close 2
kv_check "preview: Huge chosen in the sheet" choose Huge
kv_wheel_click 500 400
kv_check "preview: the launcher takes Huge's body" test "$(kv_probe launcher)" = "1 470 380 60 40"
kv_wheel_click 500 400
kv_check "preview: LyingBody chosen in the sheet" choose LyingBody
kv_wheel_click 500 400
geometry=$(kv_probe launcher)
kv_check "preview: the launcher shows" test "${geometry%% *}" = 1
kv_wheel_click 500 400
kv_quit 20
kv_check "preview: ends cleanly" test "${KV_EXIT_STATUS:-1}" = 0
dump=$(kv_profile_dump)
saved() { kv_dump_get "$dump" Design "$1"; }
space=$(saved ButtonSpace)
kv_check "preview: in the plain look of the saved grid" test "$(echo "$geometry" | cut -d' ' -f4-5)" = \
    "$(($(saved Col) * ($(saved ButtonWidth) + space) + space)) $(($(saved Row) * ($(saved ButtonHeight) + space) + space))"
kv_check "preview: the items are intact" test "$(printf '%s\n' "$dump" | grep -F 'Path Name')" = "$(printf '%s\n' "$ITEMS" | LC_ALL=C sort)"
kv_check "preview: the plain look's theme name is saved" test "$(kv_dump_get "$dump" Design Theme)" = "$PLAIN_NAME"

echo "# themes: $cases cases, $cases through the program"
kv_finish
