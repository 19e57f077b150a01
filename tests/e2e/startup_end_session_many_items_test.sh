#!/usr/bin/env bash
# The end of the session with many items, each starting a program of its own, so that the icon
# save at the session-end query takes seconds: the settings must be in the profile before that
# save starts, and a process killed during it (as the system kills one that is slow to end)
# keeps every item; only the icon data file may be the older one.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup startup_end_session_many_items
export KV_START_TIMEOUT_MS=120000

ITEMS=1000
data_file="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Kestrovar/Kestrovar.dat"
apps="$WINEPREFIX/drive_c/kvapps"
mkdir -p "$apps"
for i in $(seq 0 $((ITEMS - 1))); do
    ln "$WINEPREFIX/drive_c/windows/notepad.exe" "$apps/tool$i.exe" 2>/dev/null ||
        cp "$WINEPREFIX/drive_c/windows/notepad.exe" "$apps/tool$i.exe"
done
{
    for i in $(seq 0 $((ITEMS - 1))); do
        printf 'Kestrovar\\Path Name\tButton%d\tREG_SZ\ttool %d*C:\\kvapps\\tool%d.exe -x\n' "$i" "$i" "$i"
    done
    printf 'Kestrovar\\Design\tCol\tREG_DWORD\t4\n'
} | kv_profile_load

item_count() { kv_profile_dump | grep -c $'^Kestrovar\\\\Path Name\tButton'; }
settings_back() { test "$(kv_profile_get Design Col)" = 4 && kv_profile_get 'Path Name' Button500 >/dev/null; }
# Changes the profile behind the program's back: only its own save brings the values back.
spoil_profile() {
    kv_profile_set Design Col REG_DWORD 9
    kv_profile_delete 'Path Name' Button500
}
# Polls the profile while the background query $query_pid runs; true once the settings are back.
wait_settings_during_query() {
    while kill -0 "$query_pid" 2>/dev/null; do
        settings_back && return 0
    done
    return 1
}

kv_check "launcher starts with $ITEMS items and no data file" kv_start
kv_check "no data file yet" test ! -e "$data_file"
spoil_profile
KV_PROBE_SERVER= kv_probe send 0x11 0 0 >"$KV_WORK/query.out" &
query_pid=$!
kv_check "the settings are saved while the session-end query still runs" wait_settings_during_query
kv_check "before the icon data file is written" test ! -e "$data_file"
wait "$query_pid"
kv_check "the query is answered with TRUE" test "$(cat "$KV_WORK/query.out")" = 1
kv_check "the query wrote the data file" test -s "$data_file"
kv_check "the exit after the query ends cleanly" kv_quit 60
kv_check "with exit status 0" test "$KV_EXIT_STATUS" = 0
cp "$data_file" "$KV_WORK/before.dat"

# The system ends the process during the icon save of the query.
kv_check "launcher starts with the data file" kv_start
spoil_profile
KV_PROBE_SERVER= kv_probe send 0x11 0 0 >/dev/null 2>&1 &
query_pid=$!
kv_check "the settings are back during the query" wait_settings_during_query
kv_check "killed during the icon save" kv_kill
wait "$query_pid" 2>/dev/null
kv_check "killed during the icon save: every item is in the profile" test "$(item_count)" = $ITEMS
kv_check "killed during the icon save: the data file is whole" cmp -s "$data_file" "$KV_WORK/before.dat"
kv_check "the next start reads it without a message" kv_start
kv_check "no message" test -z "$(kv_probe dialogs)"
kv_check "and quits cleanly" kv_quit 60
kv_finish
