#!/usr/bin/env bash
# With DoubleClick on only the second of two quick wheel clicks toggles the launcher; of two
# clicks further apart than the double-click time the second starts a new pair.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup launcher_double_click

visible() {
    test "$(kv_probe launcher | cut -d' ' -f1)" = "$1"
}

quick_pair() {
    xdotool mousemove "$1" "$2" click --repeat 2 --delay 120 2
    kv_settle
}

kv_profile_set Status DoubleClick REG_DWORD 1
kv_check "launcher starts" kv_start

kv_wheel_click 500 400
kv_check "one wheel click does nothing" visible 0
sleep 1
kv_wheel_click 500 400
kv_check "a second click a second later does nothing either" visible 0
sleep 1
quick_pair 500 400
kv_check "two quick clicks show the launcher" visible 1
kv_check "at the cursor" test "$(kv_probe launcher)" = "1 424 374 153 53"
sleep 1
quick_pair 300 300
kv_check "two more quick clicks hide it" visible 0
kv_check "launcher quits" kv_quit
kv_finish
