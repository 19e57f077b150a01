#!/usr/bin/env bash
# Damaged icon data files. Hundreds of cases made from a data file the program wrote (every
# 64-byte truncation, seeded random and mutated files, patched headers, 50 MB files) go through
# the program's own load and save code in one kvdatafiles process; a sample of them, a folder in
# the file's place and a read-only data folder go through Kestrovar.exe itself. Every case must
# end with the message and its step (or none for a good file), a launcher that shows, hides and
# quits, the profile's items intact, and a data file that is rewritten whole or left as it was,
# never made worse and without a temporary file beside it.
source "$KV_SOURCE/tests/robustness/lib.sh"

# A read-only data folder left behind by an interrupted run would stop kv_setup from clearing
# the work folder.
stale="$KV_BUILD/e2e/work/$(basename "$(dirname "$KV_BIN")")/robustness_data_file"
chattr -i "$stale/prefix/drive_c/users/$(whoami)/AppData/Roaming/Kestrovar" 2>/dev/null

kv_setup robustness_data_file
T=$'\t'
data_dir="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Kestrovar"
data_file="$data_dir/Kestrovar.dat"
cases="$KV_WORK/cases"
COMMANDS=('C:\windows\notepad.exe' 'C:\windows\regedit.exe' 'C:\windows\explorer.exe'
    'C:\windows\system32\winemine.exe' 'C:\windows\notepad.exe C:\windows\win.ini')
ITEMS=""
for n in "${!COMMANDS[@]}"; do
    ITEMS+="Kestrovar\\Path Name${T}Button$n${T}REG_SZ${T}項目$n*${COMMANDS[$n]}"$'\n'
done
through_program=0

windows_path() { local p=${1//\//\\}; echo "Z:$p"; }
datafiles() { kv_wine "$KV_BIN/kvdatafiles.exe" "$@" 2>>"$KV_WORK/datafiles.log" | tr -d '\r'; }
items_now() { kv_profile_dump | grep -F "Path Name"; }
# "step=N images=K" of the data file as the program reads it.
file_state() { datafiles check "$(windows_path "$data_file")"; }

# The first start without a data file writes the real file every case is made from.
rb_profile "$ITEMS"
rb_cycle "no data file"
items_ref=$(items_now)
kv_check "no data file: all items saved" test "$(printf '%s\n' "$items_ref" | grep -c .)" = ${#COMMANDS[@]}
kv_check "no data file: the data file is written with one image per item" \
    test "$(file_state)" = "step=0 images=${#COMMANDS[@]}"
cp "$data_file" "$KV_WORK/source.dat"

# --- every generated case through the program's load and save code ---------------------------
started=$SECONDS
datafiles make "$(windows_path "$KV_WORK/source.dat")" "$(windows_path "$cases")" >"$KV_WORK/make.log"
kv_check "the cases are made" grep -q '^made' "$KV_WORK/make.log"
datafiles load "$(windows_path "$cases")" "${COMMANDS[@]}" >"$KV_WORK/load.log"
summary=$(tail -1 "$KV_WORK/load.log")
echo "# $summary in $((SECONDS - started)) s"
grep -v '^cases\| ok ' "$KV_WORK/load.log" | head -20 | sed 's/^/# /'
made=$(ls "$cases"/*.dat | wc -l)
kv_check "every case ran to its end (no crash)" test "$summary" = "cases $made failed 0"
count_of() { ls "$cases" | grep -c "^$1"; }
kv_check "every 64-byte truncation is a case" test "$(count_of bad-truncated-)" -ge $(($(stat -c %s "$KV_WORK/source.dat") / 64))
kv_check "200 random files" test $(($(count_of bad-random-) + $(count_of any-mutated-))) = 200
kv_check "patched headers" test "$(count_of any-patched-)" -ge 300

# --- a sample through Kestrovar.exe ------------------------------------------------------------
# data_case NAME STEP AFTER: start with the data file as it is now; STEP is the code the message
# must show (0: no message); AFTER is what the data file must be after the quit: "rewritten" (a
# whole new file, one image per item), "unchanged" (byte for byte) or "folder" (still a folder).
data_case() {
    local name=$1 step=$2 after=$3 before=""
    through_program=$((through_program + 1))
    [ -f "$data_file" ] && before=$(sha256sum <"$data_file") && touch -d 2001-01-01 "$data_file"
    if [ "$step" = 0 ]; then
        kv_start || { kv_check "$name: starts" false; return; }
        kv_check "$name: no message" test -z "$(kv_probe dialogs)"
    else
        kv_start --no-wait
        kv_check "$name: the message reports step $step" kv_wait_for "the message" 30 \
            sh -c "'$KV_SOURCE/tests/robustness/probe-dialog-text.sh' | grep -q 'dataの読込みに失敗しました。 Code = $step'"
        kv_probe press-dialog Kestrovar 1 >/dev/null
        kv_probe wait-ready 30000 >/dev/null
    fi
    kv_wheel_click 500 400
    kv_check "$name: shows" test "$(kv_probe launcher | cut -d' ' -f1)" = 1
    kv_wheel_click 500 400
    kv_check "$name: hides" test "$(kv_probe launcher | cut -d' ' -f1)" = 0
    kv_quit 20
    kv_check "$name: ends cleanly" test "${KV_EXIT_STATUS:-1}" = 0
    kv_check "$name: the items are intact" test "$(items_now)" = "$items_ref"
    case $after in
    rewritten)
        kv_check "$name: the data file is rewritten whole" test "$(file_state)" = "step=0 images=${#COMMANDS[@]}"
        kv_check "$name: ... at this quit" test "$(stat -c %Y "$data_file")" -gt 1000000000
        ;;
    unchanged) kv_check "$name: the data file is unchanged" test "$(sha256sum <"$data_file")" = "$before" ;;
    folder) kv_check "$name: the folder is still there" test -d "$data_file" ;;
    esac
    [ -d "$data_file.tmp" ] || kv_check "$name: no temporary file" test ! -e "$data_file.tmp"
}
use_case() { cp "$cases/$1.dat" "$data_file"; }
# The step the load code found for a case.
step_of() { grep "^$1 " "$KV_WORK/load.log" | sed 's/.*step=\([0-9]*\).*/\1/'; }
size=$(stat -c %s "$KV_WORK/source.dat")

use_case bad-empty && data_case "empty file" 3 rewritten
for length in 64 $((size / 2 / 64 * 64)) $((size - 1)); do
    name=$(printf 'bad-truncated-%05d' $length)
    use_case "$name" && data_case "truncated to $length bytes" 3 rewritten
done
use_case bad-random-00000 && data_case "random file 0" 3 rewritten
for name in any-mutated-00003 any-patched-count-1000 any-patched-color-height-2147483647; do
    use_case $name && data_case "$name" "$(step_of $name)" rewritten
done
use_case bad-50MB-noise && data_case "50 MB of noise" 3 rewritten
use_case good-50MB-after-the-stream && data_case "a good file followed by 50 MB" 0 rewritten
kv_check "a good file followed by 50 MB: the rest is gone" test "$(stat -c %s "$data_file")" = "$size"

# A temporary file left by an interrupted save is overwritten and moved over at the next quit.
cp "$KV_WORK/source.dat" "$data_file"
head -c 3000 /dev/urandom >"$data_file.tmp"
data_case "a stale temporary file" 0 rewritten
# A folder where the temporary file goes: the save cannot be made and the old file stays whole.
mkdir "$data_file.tmp"
data_case "a folder in the temporary file's place" 0 unchanged
rmdir "$data_file.tmp"

# A folder in the file's place cannot be opened (step 1) nor replaced.
rm -f "$data_file"
mkdir "$data_file"
data_case "a folder in the file's place" 1 folder
rmdir "$data_file"

# A data folder nothing can be created in: a good file is read, a bad one reported, and the save
# that cannot write its temporary file leaves either exactly as it was.
read_only() { chattr +i "$data_dir" 2>/dev/null || chmod 555 "$data_dir"; }
writable() { chattr -i "$data_dir" 2>/dev/null; chmod 755 "$data_dir"; }
cp "$KV_WORK/source.dat" "$data_file"
read_only
if touch "$data_dir/probe" 2>/dev/null; then
    rm -f "$data_dir/probe"
    echo "# skipped: no way to make a read-only folder here"
else
    data_case "read-only data folder, good file" 0 unchanged
    use_case bad-truncated-00064 2>/dev/null || { writable; use_case bad-truncated-00064; read_only; }
    data_case "read-only data folder, bad file" 3 unchanged
fi
writable

rm -f "$cases"/*50MB*.dat  # 100 MB the work folder need not keep
echo "# data files: $((made + through_program)) cases, $through_program through the program"
kv_finish
