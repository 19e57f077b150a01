#!/usr/bin/env bash
# Items and their icon data file across starts and quits: items with programs survive, values
# that are not exactly "tip*command" are gone after a quit, the data file is written at a quit
# when some item has an icon and left byte for byte as it was when none has. The refresh command
# remakes the icons from the shell, but not while the icons are still loading.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup items_persistence

data_dir="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Kestrovar"
data_file="$data_dir/Kestrovar.dat"
image_count() { od -An -tu2 -j4 -N2 "$data_file" | tr -d ' '; }

kv_profile_load <<'EOF'
Kestrovar\Path Name	Button0	REG_SZ	メモ帳*C:\windows\notepad.exe
Kestrovar\Path Name	Button3	REG_SZ	レジストリ*C:\windows\regedit.exe -m
Kestrovar\Path Name	Button5	REG_SZ	one piece only
Kestrovar\Path Name	Button6	REG_SZ	a*b*c
Kestrovar\Path Name	Button7	REG_SZ	*C:\windows\notepad.exe
Kestrovar\Path Name	Button8	REG_SZ	gone*C:\kv-no-such-folder\gone.exe
EOF

kv_check "no data file before the first start" test ! -e "$data_file"
kv_check "first start" kv_start
kv_check "no message at a start without data file" test -z "$(kv_probe dialogs)"
kv_check "first quit" kv_quit
kv_check "data file written at the quit" test -s "$data_file"
kv_check "one image per item with an icon" test "$(image_count)" = 2

profile=$(kv_profile_dump)
item() { kv_dump_get "$profile" 'Path Name' "$1"; }
kv_check "Button0 survives" test "$(item Button0)" = 'メモ帳*C:\windows\notepad.exe'
kv_check "Button3 survives with its parameters" test "$(item Button3)" = 'レジストリ*C:\windows\regedit.exe -m'
for key in Button5 Button6 Button7; do
    kv_check "$key, not two pieces, is gone" ! item $key
done
kv_check "Button8, program gone and no image, is gone" ! item Button8

# The second start reads the icons from the file.
kv_check "second start" kv_start
kv_check "no message when reading the data file" test -z "$(kv_probe dialogs)"
kv_wheel_click 500 400
kv_check "the launcher shows the items" test "$(kv_probe launcher | cut -d' ' -f1)" = 1
kv_screenshot items_persistence
kv_check "second quit" kv_quit
profile=$(kv_profile_dump)
kv_check "Button0 survives a second run" test "$(item Button0)" = 'メモ帳*C:\windows\notepad.exe'
kv_check "Button3 survives a second run" test "$(item Button3)" = 'レジストリ*C:\windows\regedit.exe -m'

# An item whose program is gone keeps the image the file holds for it; at the quit the shell
# gives no icon for anything, so the older file stays exactly as it was.
kv_profile_delete_all
kv_profile_set "Path Name" Button0 REG_SZ 'gone*C:\kv-no-such-folder\gone.exe'
cp "$KV_SOURCE/tests/unit/data/imagelist_16px_7images.dat" "$data_file"
before=$(sha256sum <"$data_file")
kv_check "start with an older data file" kv_start
kv_check "no message for a good older file" test -z "$(kv_probe dialogs)"
kv_check "quit without any icon" kv_quit
kv_check "the older data file is byte-identical" test "$(sha256sum <"$data_file")" = "$before"
kv_check "no temporary file is left" test ! -e "$data_file.tmp"
kv_check "the item kept by its stored image is saved again" \
    test "$(kv_profile_get 'Path Name' Button0)" = 'gone*C:\kv-no-such-folder\gone.exe'

# A damaged data file: the message names the user and the read step; the start then goes on
# as without a file, so the item whose program is gone is dropped this time.
kv_profile_set "Path Name" Button1 REG_SZ 'メモ帳*C:\windows\notepad.exe'
head -c 3000 /dev/urandom >"$data_file"
failure_shown() { kv_probe dialogs | grep -q "$(whoami)\.dataの読込みに失敗しました。 Code = 3"; }
kv_start --no-wait
kv_check "the damaged file is reported with the read step" kv_wait_for "the failure message" 30 failure_shown
kv_screenshot items_damaged_data_file
damaged=$(sha256sum <"$data_file")
# Sent, so that the check below comes after the launcher has handled it.
kv_probe send 0x111 57670 0 >/dev/null
kv_check "a refresh during the load's message does nothing" test "$(sha256sum <"$data_file")" = "$damaged"
kv_probe press-dialog Kestrovar 1 >/dev/null || kv_probe press-dialog Kestrovar 2 >/dev/null
kv_check "the start goes on after the message" kv_probe wait-ready 30000
kv_check "and shows no second one" test -z "$(kv_probe dialogs)"
kv_probe post 0x111 111 0 >/dev/null
kv_check "a refresh once loaded drops the data file to remake the icons" \
    kv_wait_for "data file deleted" 10 test ! -e "$data_file"
kv_check "quit after a damaged file" kv_quit
kv_check "the data file is whole again" test "$(image_count)" = 1
kv_check "the item without program nor image is gone" ! kv_profile_get 'Path Name' Button0
kv_check "the other item survives" test "$(kv_profile_get 'Path Name' Button1)" = 'メモ帳*C:\windows\notepad.exe'

kv_finish
