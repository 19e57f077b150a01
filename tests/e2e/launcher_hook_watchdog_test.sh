#!/usr/bin/env bash
# The hook library's watchdog, with the test build of the library staged (it drops its own hook
# on request, as the system does with a slow hook, and shows its counters in the text of its
# hidden window): a dropped hook is replaced once the pointer moves, and the next wheel click
# shows the launcher; with two hooks installed at once, a click is still reported once; a live
# hook is left alone.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup launcher_hook_watchdog
cp "$KV_BIN/hooktest/Kestrovar.dll" "$KV_APP/Kestrovar.dll"

watch=KestrovarHookWatch
drop_request=0x8001     # WM_APP + 1
overlap_request=0x8002  # WM_APP + 2
# A check comes at most one period (2 s) after a move; one more period covers a loaded machine.
rearm_bound_s=5

# counter checks|rearms: from the window text "checks N rearms M" (empty before the first check).
counter() {
    local value
    value=$(kv_probe class-text $watch | awk -v key="$1" '{ for (i = 1; i < NF; i++) if ($i == key) print $(i + 1) }')
    echo "${value:-0}"
}
above() { test "$(counter "$1")" -gt "$2"; }
shown() { test "$(kv_probe launcher | cut -d' ' -f1)" = 1; }

# A wheel click where the pointer is shows the launcher, and the next one hides it: a click
# reported twice would show and hide it at once.
click_shows_then_hides() {
    xdotool click 2
    kv_settle
    kv_check "$1: a wheel click shows the launcher" shown
    xdotool click 2
    kv_settle
    kv_check "$1: the next one hides it" ! shown
}

kv_check "launcher starts with the test build of the library" kv_start
xdotool mousemove 300 600
click_shows_then_hides "live hook"

checks=$(counter checks)
for x in 320 340 360; do xdotool mousemove $x 600; done
kv_check "live hook: the watchdog checks after the pointer moved" kv_wait_for "two checks" $rearm_bound_s above checks $((checks + 1))
kv_check "live hook: and leaves it in place" test "$(counter rearms)" = 0

kv_probe class-send $watch $drop_request 0 0 >/dev/null
xdotool click 2
kv_settle
kv_check "dropped hook: a wheel click without a move goes unseen" ! shown
rearms=$(counter rearms)
xdotool mousemove 380 600
kv_check "dropped hook: a fresh one is installed within the watchdog's period after a move" \
    kv_wait_for "a re-arm" $rearm_bound_s above rearms "$rearms"
click_shows_then_hides "re-armed hook"

rearms=$(counter rearms)
kv_probe class-send $watch $overlap_request 0 0 >/dev/null
kv_check "two hooks: the second is installed beside the first" above rearms "$rearms"
click_shows_then_hides "two hooks"
kv_screenshot launcher_hook_watchdog
kv_check "launcher quits" kv_quit
kv_finish
