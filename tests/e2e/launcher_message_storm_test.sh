#!/usr/bin/env bash
# A storm of messages from another process (kvstorm): the launcher's private message numbers,
# the hook library's, commands, hot keys and drops that are not drops, with random parameters,
# to the launcher and its buttons. The launcher lives through it, opens no window, still shows
# at a wheel click and keeps its items. The one message that may change them, the launch
# thread's delete, clears a valid index and ignores any other. A failed storm prints its seed:
# KV_STORM_SEEDS="SEED" repeats it.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup launcher_message_storm

kv_profile_load <<'EOF_PROFILE'
Kestrovar\Path Name	Button0	REG_SZ	メモ帳*C:\windows\notepad.exe
Kestrovar\Path Name	Button1	REG_SZ	レジストリ*C:\windows\regedit.exe
Kestrovar\Path Name	Button2	REG_SZ	もう一つ*C:\windows\notepad.exe -x
Kestrovar\Path Name	Button7	REG_SZ	次の頁*C:\windows\regedit.exe -m
EOF_PROFILE
items() { kv_profile_dump | grep -F $'Kestrovar\\Path Name\t'; }
before=$(items)
kv_check "start" kv_start

for seed in ${KV_STORM_SEEDS:-26 4711}; do
    kv_wine "$KV_BIN/kvstorm.exe" "$seed" "${KV_STORM_COUNT:-1500}" >"$KV_WORK/storm.out" 2>>"$KV_WORK/probe.log"
    status=$?
    tr -d '\r' <"$KV_WORK/storm.out" | sed 's/^/# /'
    kv_check "the launcher lives through the storm of seed $seed" test $status = 0
    kv_check "and answers afterwards" kv_probe wait-ready 20000
done
kv_check "no dialog or message box was opened by the storm" \
    test -z "$(kv_probe dialogs | grep '^dialog ' | grep -vF '"Kestrovar Body Window!"')"

for index in 99999 -1 65537; do
    kv_probe post $KV_KVM_DELETEITEM $index 0 >/dev/null
done
kv_probe post $KV_KVM_DELETEITEM 1 0 >/dev/null
kv_probe post $KV_KVM_HIDE 0 0 >/dev/null
kv_check "the launcher hides" kv_wait_for "the launcher to hide" 10 eval '[ "$(kv_probe launcher | cut -d" " -f1)" = 0 ]'
kv_wheel_click 500 400
kv_check "a wheel click shows it" test "$(kv_probe launcher | cut -d' ' -f1)" = 1
kv_screenshot launcher_message_storm
kv_check "quit" kv_quit

expected=$(grep -v $'\tButton1\t' <<<"$before")
after=$(items)
kv_check "the items are those of the start, less the one deleted on purpose" test "$after" = "$expected"
[ "$after" = "$expected" ] || diff <(echo "$expected") <(echo "$after") | sed 's/^/# /'
kv_finish
