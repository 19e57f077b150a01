#!/usr/bin/env bash
# File names that no ANSI code page holds, from the file dialog to the launch: programs named
# café, 한글 and 😀 in a folder "Données 表" are registered through the open-file dialog under
# their exact names; a click starts that very program, never a decoy cafe beside it or in a
# folder "Donnees 表" (where a name with its accents dropped would lead); every item stays, with
# an icon of its own in the data file (in the same folder), through quits and starts with and
# without that file.
# Also runs under code page 1252.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup items_unicode_names

folder='C:\Données 表'
unix_folder="$WINEPREFIX/drive_c/Données 表"
names=(café 한글 😀)
decoys=("$unix_folder/cafe" "$WINEPREFIX/drive_c/Donnees 表/cafe")
mkdir -p "$unix_folder" "$(dirname "${decoys[1]}")"
for program in "${names[@]/#/$unix_folder/}" "${decoys[@]}"; do
    cp "$KV_BIN/kvlaunchrec.exe" "$program.exe"
done
# The user's application data lie in that folder too, so that the data file's path holds its name.
mkdir -p "$unix_folder/AppData"
kv_wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' \
    /v AppData /t REG_EXPAND_SZ /d "$folder\AppData" /f >/dev/null 2>&1
data_file="$unix_folder/AppData/Kestrovar/Kestrovar.dat"
image_count() { od -An -tu2 -j4 -N2 "$data_file" | tr -d ' '; }

# Slot n of the launcher shown by a wheel click at (500,400) is at (438 + 25n, 388).
register_on_button() {
    xdotool mousemove $((438 + 25 * $1)) 388 sleep 0.3 click 3
    kv_probe find-class '#32768' 3000 >/dev/null && xdotool key a && kv_open_file "$2"
}
# Every item is in the profile with its exact name: "path*path", or "name*path" where the system
# does not call programs "アプリケーション" (the tooltip is then the shell's display name).
items_kept() {
    local profile n path value
    profile=$(kv_profile_dump)
    for n in "${!names[@]}"; do
        path="$folder\\${names[n]}.exe"
        value=$(kv_dump_get "$profile" 'Path Name' "Button$n")
        [ "$value" = "$path*$path" ] || [ "$value" = "${names[n]}.exe*$path" ] || return 1
    done
}
# A start, the page shown (which clears an item that has no icon), a quit.
start_show_quit() {
    kv_start && kv_wheel_click 500 400 && kv_quit
}

kv_check "launcher starts" kv_start
kv_wheel_click 500 400
for n in "${!names[@]}"; do
    kv_check "${names[n]}.exe is registered through the file dialog" \
        register_on_button "$n" "$folder\\${names[n]}.exe"
done
kv_screenshot items_unicode_names
for n in "${!names[@]}"; do
    # Shown after the registrations; hidden after each launch.
    [ "$(kv_probe launcher | cut -d' ' -f1)" = 1 ] || kv_wheel_click 500 400
    xdotool mousemove $((438 + 25 * n)) 388 sleep 0.2 click 1
    kv_settle
    kv_check "a click starts ${names[n]}.exe" kv_wait_for "its launch record" 20 test -s "$unix_folder/${names[n]}.launched"
done
kv_check "no decoy cafe.exe started" test ! -e "${decoys[0]}.launched" -a ! -e "${decoys[1]}.launched"

kv_check "quit" kv_quit
kv_profile_dump | grep 'Path Name' | sed 's/^/# /'
kv_check "the profile holds each name exactly" items_kept
kv_check "the data file holds an icon for each item" test "$(image_count)" = "${#names[@]}"
kv_check "a start with the data file" start_show_quit
kv_check "keeps every item" items_kept
rm -f "$data_file"
kv_check "a start without the data file" start_show_quit
kv_check "keeps every item" items_kept
kv_check "and finds an icon for each again" test "$(image_count)" = "${#names[@]}"
kv_finish
