#!/usr/bin/env bash
# A Kestrovar.ini beside the program holds the profile instead of the registry, and the icon
# data file lies beside it. An empty one takes a copy of the registry profile, which then stays
# as it was, byte for byte. Edits while the ini changes on disk elsewhere keep both; a read-only
# folder is reported once and its ini kept. Everything happens in the scenario's own copy of the
# program's folder, never beside the build's exe.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup startup_portable

ini="$KV_APP/Kestrovar.ini"
appdata_dir="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Kestrovar"
tools="$WINEPREFIX/drive_c/kvtools"
mkdir -p "$tools"
cp "$KV_BIN/kvdescribed.exe" "$tools/"

# The value of a name in the ini (bare values only), without the byte-order mark and line ends.
ini_get() { sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//' "$ini" | awk -v k="$1=" 'index($0, k) == 1 { print substr($0, length(k) + 1); f = 1; exit } END { exit !f }'; }
ini_has() { grep -qxF "$1"$'\r' "$ini"; }
export_registry() { rm -f "$1"; kv_wine reg export "HKCU\\Software\\Onri's tool" "$(winepath -w "$1" 2>/dev/null)" >/dev/null 2>&1; }
menu_on_button() {
    xdotool mousemove $((438 + 25 * $1)) 388 sleep 0.2 click 3
    kv_probe find-class '#32768' 3000 >/dev/null
    kv_key "$2"
}
# Drag the item on top-row button FROM onto the second row's first button (slot 6).
drag_to_slot6() { xdotool mousemove $((438 + 25 * $1)) 388 mousedown 1 mousemove 445 400 mousemove 438 413 mouseup 1 mousemove 513 388; }

kv_profile_load <<'EOF2'
Kestrovar\Path Name	Button0	REG_SZ	メモ帳*C:\windows\notepad.exe
Kestrovar\Path Name	Button1	REG_SZ	レジストリ*C:\windows\regedit.exe -m
Kestrovar\Path Name	Button2	REG_SZ	メモ*C:\windows\notepad.exe
Kestrovar\Design	Col	REG_DWORD	6
Kestrovar\Design	Theme	REG_SZ	  spaced theme  
EOF2
export_registry "$KV_WORK/before.reg"
: >"$ini"

kv_check "launcher starts with an empty ini" kv_start
kv_check "the start copied the registry's items into it" \
    eval 'test "$(ini_get Button1)" = "レジストリ*C:\windows\regedit.exe -m"'
kv_check "with integers bare and a spaced string quoted" \
    eval 'ini_has "Col=6" && ini_has "Theme=\"  spaced theme  \""'
kv_check "in UTF-8 with a byte-order mark" test "$(head -c 3 "$ini" | od -An -tx1 | tr -d ' ')" = efbbbf
kv_wheel_click 500 400
kv_screenshot startup_portable

# Register on slot 5, move slot 0 to slot 6, delete slot 1; each is saved at once.
menu_on_button 5 a
kv_probe wait-dialog "$KV_OPEN_CAPTION" 10000 >/dev/null
kv_check "a file is registered" kv_open_file 'C:\kvtools\kvdescribed.exe'
kv_probe wait-ready 10000 >/dev/null
drag_to_slot6 0
kv_check "the move is in the ini at once" \
    kv_wait_for "the move saved" 10 eval 'test "$(ini_get Button6)" = "メモ帳*C:\windows\notepad.exe"'
menu_on_button 0 d
kv_check "the deletion is in the ini at once" kv_wait_for "the deletion saved" 10 eval '! grep -q regedit "$ini"'
kv_check "killed" kv_kill
kv_check "after the kill the ini holds the moved item" test "$(ini_get Button5)" = 'メモ帳*C:\windows\notepad.exe'
kv_check "and the registered one, moved up with the rest" test "$(ini_get Button3)" = '起動記録ツール*C:\kvtools\kvdescribed.exe'
kv_check "and no temporary file is left" test ! -e "$ini.tmp"
export_registry "$KV_WORK/after.reg"
kv_check "the registry profile is untouched, byte for byte" cmp -s "$KV_WORK/before.reg" "$KV_WORK/after.reg"

# The next start reads the ini; the quit writes the icons beside it, not in the user's folder.
kv_check "second start" kv_start
kv_check "the quit" kv_quit
kv_check "the data file lies beside the program" test -s "$KV_APP/Kestrovar.dat"
kv_check "and nothing in the application-data folder" test ! -e "$appdata_dir"
export_registry "$KV_WORK/after.reg"
kv_check "nor in the registry" cmp -s "$KV_WORK/before.reg" "$KV_WORK/after.reg"

# A synced folder: another computer adds an item while the launcher runs, then the launcher
# moves one of its own. The ini holds both.
kv_check "third start" kv_start
kv_wheel_click 500 400
sed -i 's/^\[Path Name\]\r$/&\nButton11=外から*C:\\windows\\regedit.exe\r/' "$ini"
first=$(ini_get Button0)
drag_to_slot6 0
kv_check "the launcher's move is saved" kv_wait_for "the move saved" 10 eval '! test "$(ini_get Button0)" = "$first"'
kv_check "over the item added elsewhere, which is kept" test "$(ini_get Button11)" = '外から*C:\windows\regedit.exe'
kv_check "the quit" kv_quit
kv_check "and kept by the save at the quit" test "$(ini_get Button11)" = '外から*C:\windows\regedit.exe'

# A read-only folder: the first save that cannot write says so once; the ini is kept. Root
# writes through file modes, so as root the folder is mounted read-only over itself.
read_only_part() {
    local kept
    kept=$(sha256sum <"$ini")
    failure_shown() { kv_probe dialogs | grep -q 'Kestrovar.iniの書込みに失敗しました。'; }
    kv_check "start from a read-only folder" kv_start
    kv_wheel_click 500 400
    drag_to_slot6 0
    kv_check "the failed save is reported" kv_wait_for "the message" 15 failure_shown
    kv_screenshot startup_portable_read_only
    kv_probe press-dialog Kestrovar 1 >/dev/null
    kv_probe wait-ready 10000 >/dev/null
    kv_wheel_click 500 400
    drag_to_slot6 1
    kv_settle
    kv_check "a second failed save says nothing" test -z "$(kv_probe dialogs)"
    kv_check "the quit" kv_quit
    kv_check "the ini is kept as it was" test "$(sha256sum <"$ini")" = "$kept"
}
if [ "$(id -u)" = 0 ]; then
    trap 'status=$?; umount "$KV_APP" 2>/dev/null; (exit $status); _kv_cleanup' EXIT
    mount --bind "$KV_APP" "$KV_APP" 2>/dev/null && mount -o remount,ro,bind "$KV_APP" 2>/dev/null
else
    chmod a-w "$KV_APP"
fi
if touch "$KV_APP/writable" 2>/dev/null; then
    rm -f "$KV_APP/writable"
    _kv_log "skipped the read-only folder: this machine cannot make one"
else
    read_only_part
fi
if [ "$(id -u)" = 0 ]; then
    umount "$KV_APP" 2>/dev/null
    trap _kv_cleanup EXIT
fi
chmod u+w "$KV_APP"

# Killed in the middle of saves: the ini is always whole.
for round in 1 2 3; do
    kv_start >/dev/null || break
    kv_wheel_click 500 400
    drag_to_slot6 0
    sleep 0.$((RANDOM % 5))
    kv_kill >/dev/null
    whole=1
    for item in 'メモ帳*C:\windows\notepad.exe' '外から*C:\windows\regedit.exe' '起動記録ツール*C:\kvtools\kvdescribed.exe'; do
        grep -qF "=$item" "$ini" || whole=0
    done
    kv_check "round $round: the ini is whole after a kill during a save" test $whole = 1
done
kv_finish
