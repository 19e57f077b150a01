#!/usr/bin/env bash
# Kestrovar.dll missing from the program folder: the two-line message, the end of the program
# after OK, and the profile written back exactly as it was. Another library of that name in the
# current folder (as a shortcut or the Run key may start the program anywhere) is not loaded.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup startup_missing_library
rm -f "$KV_APP/Kestrovar.dll"
KV_START_DIR="$WINEPREFIX/drive_c/start here"
mkdir -p "$KV_START_DIR"
cp "$KV_BIN/kvdecoy.dll" "$KV_START_DIR/Kestrovar.dll"

# A complete profile with values other than the defaults, so that a save of defaults or of
# half-read values would show. One name per filter list: the lists are re-numbered on save.
# WheelClickSelect is left out: its default appearing afterwards shows that the save ran.
kv_profile_load <<'EOF'
Kestrovar\Status	MemoryPage	REG_DWORD	1
Kestrovar\Status	WheelClickLock	REG_DWORD	1
Kestrovar\Status	WheelClickTrigger	REG_DWORD	0
Kestrovar\Status	HideOption	REG_DWORD	0
Kestrovar\Status	HotkeyShow	REG_DWORD	0x641
Kestrovar\Status	HotkeyNext	REG_DWORD	0
Kestrovar\Status	HotkeyPrev	REG_DWORD	0x226
Kestrovar\Status	ShowTaskTrayIcon	REG_DWORD	0
Kestrovar\Status	DoubleClick	REG_DWORD	1
Kestrovar\Design	SkinMode	REG_DWORD	1
Kestrovar\Design	Theme	REG_SZ	青い表示
Kestrovar\Design	IconSize	REG_DWORD	32
Kestrovar\Design	ButtonSpace	REG_DWORD	5
Kestrovar\Design	ButtonWidth	REG_DWORD	40
Kestrovar\Design	ButtonHeight	REG_DWORD	38
Kestrovar\Design	Col	REG_DWORD	3
Kestrovar\Design	Row	REG_DWORD	4
Kestrovar\Design	WindowTPValue	REG_DWORD	200
Kestrovar\Path Name	Button0	REG_SZ	メモ帳*C:\windows\notepad.exe
Kestrovar\Path Name	Button13	REG_SZ	ソフト*"C:\Program Files\表\a.exe" -x
Kestrovar\Filter	ClassName0	REG_SZ	Progman
Kestrovar\Filter	WindowName0	REG_SZ	能率*
EOF
before=$(kv_profile_dump)
kv_check "the seeded profile reads back" test "$(grep -c . <<<"$before")" = 22

kv_start --no-wait
kv_check "a message box appears" kv_wait_for "the library message" 20 kv_probe wait-dialog Kestrovar 500
dialogs=$(kv_probe dialogs)
printf '%s\n' "$dialogs" | sed 's/^/# /'
message=$'"Kestrovar.dllの読込みに失敗しました。\nプログラムを終了します。"'
kv_check "it says the library failed to load, then that the program ends" eval '[[ $dialogs == *"$message"* ]]'
kv_check "it is the only dialog" test "$(grep -c '^dialog ' <<<"$dialogs")" = 1
kv_check "the launcher window never got its name" ! kv_probe launcher
kv_screenshot startup_missing_library
kv_check "the process waits for OK" kill -0 "$KV_PID"
kv_check "OK closes the message box" kv_probe press-dialog Kestrovar 1
kv_check "the process ends after OK" kv_wait_exit "$KV_PID" 15
kv_check "no second message appeared" test -z "$(kv_probe dialogs)"
kv_check "the library in the current folder was never loaded" test ! -e "$KV_START_DIR/Kestrovar.dll.loaded"

after=$(kv_profile_dump)
expected=$(printf '%s\n%s\n' "$before" $'Kestrovar\\Status\tWheelClickSelect\tREG_DWORD\t0' | LC_ALL=C sort)
kv_check "the profile was written back unchanged (plus the one default)" test "$after" = "$expected"
if [ "$after" != "$expected" ]; then diff <(echo "$expected") <(echo "$after") | sed 's/^/# /'; fi
kv_finish
