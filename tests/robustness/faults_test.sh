#!/usr/bin/env bash
# Faults around the program: an application-data folder that cannot hold the data file, a data
# file another program holds open, a storm of wheel clicks, and many start/quit cycles.
source "$KV_SOURCE/tests/robustness/lib.sh"
kv_setup robustness_faults
T=$'\t'
NOTEPAD='C:\windows\notepad.exe'
ITEMS="Kestrovar\\Path Name${T}Button0${T}REG_SZ${T}メモ帳*${NOTEPAD}
Kestrovar\\Path Name${T}Button1${T}REG_SZ${T}レジストリ*C:\\windows\\regedit.exe
Kestrovar\\Filter${T}ClassName0${T}REG_SZ${T}Notepad
Kestrovar\\Filter${T}WindowName0${T}REG_SZ${T}*ペイント"
appdata="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming"
datafile="$appdata/Kestrovar/Kestrovar.dat"

# A file where the data folder belongs: nothing can be saved there, everything else works.
rb_profile "$ITEMS"
rm -rf "$appdata/Kestrovar"
echo "not a folder" > "$appdata/Kestrovar"
rb_cycle "data folder blocked"
kv_check "data folder blocked: the settings are still saved" test -n "$(kv_profile_get "Path Name" Button1)"
kv_check "data folder blocked: the blocking file is untouched" test "$(cat "$appdata/Kestrovar")" = "not a folder"
rm -f "$appdata/Kestrovar"

# A data file that another program holds open: the load reports step 1, the save leaves the
# old file whole, and the settings are saved.
rb_profile "$ITEMS"
rb_cycle "data file written"
kv_check "data file written: Kestrovar.dat exists" test -s "$datafile"
cp "$datafile" "$KV_WORK/before.dat"
kv_wine "$KV_BIN/kvlockfile.exe" 'C:\users\'"$(whoami)"'\AppData\Roaming\Kestrovar\Kestrovar.dat' 12000 \
    >"$KV_WORK/lock.log" 2>&1 &
lock_pid=$!
kv_wait_for "the lock is held" 10 grep -q locked "$KV_WORK/lock.log"
kv_start --no-wait
kv_check "locked data file: the load failure is reported with step 1" \
    kv_wait_for "message" 20 sh -c "'$KV_SOURCE/tests/robustness/probe-dialog-text.sh' | grep -q 'Code = 1'"
kv_probe press-dialog Kestrovar 1 >/dev/null
kv_probe wait-ready 20000 >/dev/null
kv_wheel_click 500 400
kv_check "locked data file: the launcher still shows" test "$(kv_probe launcher | cut -d' ' -f1)" = 1
kv_profile_delete Design Col
kv_quit
kv_check "locked data file: ends cleanly" test "${KV_EXIT_STATUS:-1}" = 0
kv_check "locked data file: settings saved" test "$(kv_profile_get Design Col)" = 6
wait "$lock_pid"
kv_check "locked data file: the old data file is whole" cmp -s "$datafile" "$KV_WORK/before.dat"
kv_check "locked data file: no temporary file left" test "$(ls "$appdata/Kestrovar" | wc -l)" = 1

# 500 wheel clicks in about 10 s, then the launcher still toggles one click at a time.
kv_start
xdotool mousemove 200 600 click --repeat 500 --delay 20 2
kv_settle
state=$(kv_probe launcher | cut -d' ' -f1)
kv_wheel_click 200 600
kv_check "500 clicks: the next click toggles" test "$(kv_probe launcher | cut -d' ' -f1)" != "$state"
kv_wheel_click 200 600
kv_check "500 clicks: and the one after toggles back" test "$(kv_probe launcher | cut -d' ' -f1)" = "$state"
kv_quit
kv_check "500 clicks: ends cleanly" test "${KV_EXIT_STATUS:-1}" = 0

# 50 start/quit cycles leave the profile exactly as the first quit wrote it.
rb_profile "$ITEMS"
kv_start && kv_quit
first=$(kv_profile_dump)
ok=1
for cycle in $(seq 2 50); do
    kv_start && kv_quit || { ok=0; break; }
    [ "${KV_EXIT_STATUS:-1}" = 0 ] || { ok=0; break; }
done
kv_check "50 start/quit cycles all end cleanly" test $ok = 1
kv_check "50 start/quit cycles: the profile is byte-identical" test "$(kv_profile_dump)" = "$first"

kv_finish
