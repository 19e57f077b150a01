#!/usr/bin/env bash
# Wheel clicks in ignored programs (by class name) leave the launcher hidden. With the wheel-click
# lock off the program gets its middle click directly; with it on the hook library keeps the
# click from every window and the launcher hands it back to the ignored one.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup launcher_ignored

clicks="$KV_WORK/clicks.txt"
clicks_win="Z:${clicks//\//\\}"
: >"$clicks"

hidden() {
    test "$(kv_probe launcher | cut -d' ' -f1)" = 0
}

# The recorder window lies at (600,100), 300 x 200; a click at (700,200) is (100,100) inside it
# (its one-pixel border moves the client area by one).
start_recorder() {
    kv_wine "$KV_BIN/kvclickrec.exe" "$clicks_win" 600 100 300 200 300 >>"$KV_WORK/recorder.log" 2>&1 &
    KV_PIDS+=($!)
    kv_wait_for "click recorder window" 20 kv_probe find-class KvClickRecorder 100
}

recorded() {
    test "$(tr -d '\r' <"$clicks" | tr '\n' ';')" = "$1"
}

kv_profile_set Filter ClassName0 REG_SZ KvClickRecorder
kv_profile_set Filter ClassName1 REG_SZ Notepad
start_recorder
kv_check "launcher starts" kv_start

# Lock off.
kv_wheel_click 700 200
kv_check "lock off: a wheel click in an ignored window leaves the launcher hidden" hidden
kv_check "lock off: the ignored window got its press and release directly" \
    kv_wait_for "two clicks recorded" 5 recorded "down 99 99;up 99 99;"

kv_wine notepad >>"$KV_WORK/notepad.log" 2>&1 &
KV_PIDS+=($!)
kv_check "notepad opens" kv_wait_for "notepad window" 20 kv_probe find-class Notepad 100
read -r _ nx ny nw nh <<<"$(kv_probe window Notepad)"
# The middle of notepad's client area is its edit control: a child of the ignored window.
kv_wheel_click $((nx + nw / 2)) $((ny + nh / 2))
kv_check "a wheel click in a child of an ignored program leaves the launcher hidden" hidden
kv_wheel_click 300 600
kv_check "a wheel click elsewhere still shows the launcher" test "$(kv_probe launcher | cut -d' ' -f1)" = 1
kv_wheel_click 300 600
kv_check "launcher quits" kv_quit
# Notepad may cover the recorder.
kv_probe close Notepad
kv_check "notepad closes" kv_wait_for "notepad closed" 10 ! kv_probe window Notepad

# Lock on: the recorder gets nothing from the system, only what the launcher re-delivers.
kv_profile_set Status WheelClickLock REG_DWORD 1
: >"$clicks"
kv_check "launcher starts again with the lock on" kv_start
kv_wheel_click 700 200
kv_check "lock on: a wheel click in an ignored window leaves the launcher hidden" hidden
kv_check "lock on: the ignored window still gets its press and release" \
    kv_wait_for "two clicks recorded" 5 recorded "down 99 99;up 99 99;"
kv_wheel_click 300 600
kv_check "lock on: a wheel click elsewhere shows the launcher" test "$(kv_probe launcher | cut -d' ' -f1)" = 1
kv_wheel_click 300 600
kv_check "and another hides it" hidden

# While a dialog of the launcher is open the launcher re-delivers nothing, so the library lets
# middle clicks through to the window under the cursor (the version box, command 109).
: >"$clicks"
kv_probe post 0x111 109 0 >/dev/null
kv_check "lock on: the version box opens" kv_probe wait-dialog Kestrovar 5000 >/dev/null
kv_wheel_click 700 200
kv_check "lock on, dialog open: the window under the cursor gets its press and release once" \
    kv_wait_for "two clicks recorded" 5 recorded "down 99 99;up 99 99;"
kv_screenshot launcher_ignored_dialog
kv_probe press-dialog Kestrovar 1
kv_check "the version box closes" kv_wait_for "no dialog" 5 ! kv_probe wait-dialog Kestrovar 0
: >"$clicks"
kv_wheel_click 700 200
kv_check "after it the launcher re-delivers again, once" \
    kv_wait_for "two clicks recorded" 5 recorded "down 99 99;up 99 99;"
kv_check "launcher quits" kv_quit

# Double clicks without the trigger: a pair counts but toggles nothing, so the next click ends
# the count. Its press was handed to the ignored window, and so must its release be.
kv_profile_set Status DoubleClick REG_DWORD 1
kv_profile_set Status WheelClickTrigger REG_DWORD 0
kv_check "launcher starts with double clicks and no trigger" kv_start
xdotool mousemove 300 600 click --repeat 2 --delay 120 2
kv_settle
: >"$clicks"
kv_wheel_click 700 200
kv_check "the click after an unused pair reaches the ignored window whole" \
    kv_wait_for "two clicks recorded" 5 recorded "down 99 99;up 99 99;"
kv_check "launcher quits" kv_quit
kv_finish
