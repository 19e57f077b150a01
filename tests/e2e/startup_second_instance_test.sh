#!/usr/bin/env bash
# A second start while the launcher runs: the refusal message, a quiet end of the second
# process, and the first instance untouched (still answering, profile not written).
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup startup_second_instance

kv_profile_set Design Col REG_DWORD 4
kv_check "first instance starts" kv_start
first=$KV_PID
launcher_before=$(kv_probe launcher)
profile_before=$(kv_profile_dump)

kv_start --no-wait
second=$KV_PID
kv_check "a message box appears" kv_wait_for "the refusal message" 20 kv_probe wait-dialog Kestrovar 500
dialogs=$(kv_probe dialogs)
printf '%s\n' "$dialogs" | sed 's/^/# /'
kv_check "it says another Kestrovar is running" grep -qF '"別のKestrovarが実行中です。"' <<<"$dialogs"
kv_check "it is the only dialog" test "$(grep -c '^dialog ' <<<"$dialogs")" = 1
kv_screenshot startup_second_instance
kv_check "the second process waits for OK" kill -0 "$second"
kv_check "OK closes the message box" kv_probe press-dialog Kestrovar 1
kv_check "the second process ends after OK" kv_wait_exit "$second" 15

kv_check "the first process still runs" kill -0 "$first"
kv_check "its launcher window answers" kv_probe wait-ready 15000
launcher_after=$(kv_probe launcher)
printf '# launcher before: %s, after: %s\n' "$launcher_before" "$launcher_after"
kv_check "and is unchanged" test "$launcher_after" = "$launcher_before"
kv_check "the second start wrote nothing to the profile" test "$(kv_profile_dump)" = "$profile_before"

KV_PID=$first
kv_check "the first instance quits normally" kv_quit
kv_check "and saves its settings" test "$(kv_profile_get Design Col)" = 4
kv_finish
