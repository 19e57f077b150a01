#!/usr/bin/env bash
# The end of the Windows session: WM_QUERYENDSESSION saves everything at once and never vetoes;
# the later exit runs the shutdown a second time without crashing and saves again.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup startup_end_session

kv_profile_set Design Col REG_DWORD 4
kv_check "launcher starts" kv_start
kv_check "the session-end query is answered with TRUE" test "$(kv_probe send 0x11 0 0)" = 1
kv_check "the settings were saved at the query" test "$(kv_profile_get Status HotkeyShow)" = $((0x451))
kv_check "with the values in force" test "$(kv_profile_get Design Col)" = 4
kv_check "the launcher window survives the query" kv_probe wait-ready 5000
kv_screenshot startup_end_session

# Another program vetoed the end of the session: a second query and the end-session
# notification must be harmless too.
kv_check "a second query is answered" test "$(kv_probe send 0x11 0 0)" = 1
kv_check "WM_ENDSESSION(FALSE) is answered" eval "kv_probe send 0x16 0 0 >/dev/null"

# Change the profile behind the program's back, and remove a whole section that the program
# has open since the query; the exit must write its own values again.
kv_profile_set Design Col REG_DWORD 9
kv_wine reg delete "$KV_PROFILE_KEY\\Status" /f >/dev/null 2>&1
kv_check "the Status section is gone" ! kv_profile_get Status MemoryPage
kv_check "the exit command ends the process" kv_quit
kv_check "with exit status 0 (no crash)" test "$KV_EXIT_STATUS" = 0
kv_check "no error box was left behind" test -z "$(kv_probe dialogs)"
profile=$(kv_profile_dump)
kv_check "the exit saved Col again" test "$(kv_dump_get "$profile" Design Col)" = 4
kv_check "the exit re-created the Status section" test "$(kv_dump_get "$profile" Status MemoryPage)" = 0
kv_check "with all nine values" test "$(grep -c $'^Kestrovar\\\\Status\t' <<<"$profile")" = 9
kv_finish
