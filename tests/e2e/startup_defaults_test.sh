#!/usr/bin/env bash
# A first start on an empty profile, then the exit command: the launcher comes up hidden and
# the quit writes every Status and Design value with its default.
source "$KV_SOURCE/tests/e2e/lib.sh"
kv_setup startup_defaults

kv_check "profile is empty before the first start" test -z "$(kv_profile_dump)"
kv_check "launcher starts" kv_start
kv_check "launcher window is hidden after start" test "$(kv_probe launcher | cut -d' ' -f1)" = 0
buttons=$(kv_probe buttons | wc -l)
# The start bound the hook library to the launcher window: a wheel click shows it.
kv_wheel_click 500 400
kv_check "a wheel click shows the launcher" test "$(kv_probe launcher | cut -d' ' -f1)" = 1
kv_screenshot startup_defaults
kv_check "exit command ends the process" kv_quit

profile=$(kv_profile_dump)
expect() {
    local section=$1 key=$2 want=$3 got
    got=$(kv_dump_get "$profile" "$section" "$key")
    kv_check "$section/$key saved as $want" test "$got" = "$want"
}
expect Status MemoryPage 0
expect Status WheelClickLock 0
expect Status WheelClickTrigger 1
expect Status WheelClickSelect 0
expect Status HideOption 1
expect Status HotkeyShow $((0x451))
expect Status HotkeyNext $((0x457))
expect Status HotkeyPrev $((0x445))
expect Status DoubleClick 0
kv_check "Status/ShowTaskTrayIcon is never written" ! kv_dump_get "$profile" Status ShowTaskTrayIcon
expect Design SkinMode 0
expect Design IconSize 16
expect Design ButtonSpace 3
expect Design ButtonWidth 22
expect Design ButtonHeight 22
expect Design Col 6
expect Design Row 2
expect Design WindowTPValue 255
# The profile default theme name is full-width; the plain look's first layout replaces it
# with the half-width name that the program stores for the plain look. Before the layout
# code existed the launcher had no buttons and the name stayed as read.
if [ "$buttons" -gt 0 ]; then
    expect Design Theme 'ﾃﾞﾌｫﾙﾄ'
else
    expect Design Theme 'デフォルト'
fi
kv_check "every value is a DWORD except Theme" \
    test "$(printf '%s\n' "$profile" | awk -F'\t' '$3 != "REG_DWORD" {print $2}')" = Theme
kv_finish
