#!/usr/bin/env bash
# Whatever the registry profile holds, the launcher starts, shows, hides and quits, and the
# profile it writes back is sane.
source "$KV_SOURCE/tests/robustness/lib.sh"
kv_setup robustness_registry
T=$'\t'
NOTEPAD='C:\windows\notepad.exe'

# Values of another type than the program writes read as their defaults and are rewritten.
rb_profile "Kestrovar\\Status${T}MemoryPage${T}REG_SZ${T}abc
Kestrovar\\Status${T}HotkeyShow${T}REG_BINARY${T}0102
Kestrovar\\Design${T}Theme${T}REG_DWORD${T}7
Kestrovar\\Design${T}Col${T}REG_SZ${T}12
Kestrovar\\Path Name${T}Button0${T}REG_DWORD${T}1
Kestrovar\\Path Name${T}Button1${T}REG_SZ${T}メモ帳*${NOTEPAD}
Kestrovar\\Filter${T}ClassName0${T}REG_DWORD${T}3"
rb_cycle "wrong types"
dump=$(kv_profile_dump)
kv_check "wrong types: MemoryPage rewritten as a number" test "$(kv_dump_get "$dump" 'Status' MemoryPage)" = 0
kv_check "wrong types: Col back to its default" test "$(kv_dump_get "$dump" 'Design' Col)" = 6
kv_check "wrong types: the good item kept" test "$(kv_dump_get "$dump" 'Path Name' Button1)" = "メモ帳*${NOTEPAD}"
kv_check "wrong types: the unreadable item dropped" ! kv_dump_get "$dump" 'Path Name' Button0

# 100 KB texts: a tooltip that long, a class name that long and a theme name that long.
long=$(head -c 102400 /dev/zero | tr '\0' 'x')
rb_profile "Kestrovar\\Path Name${T}Button0${T}REG_SZ${T}${long}*${NOTEPAD}
Kestrovar\\Filter${T}ClassName0${T}REG_SZ${T}${long}
Kestrovar\\Design${T}SkinMode${T}REG_DWORD${T}1
Kestrovar\\Design${T}Theme${T}REG_SZ${T}${long}"
rb_cycle "100 KB strings"
dump=$(kv_profile_dump)
kv_check "100 KB strings: the long tooltip kept" test "$(kv_dump_get "$dump" 'Path Name' Button0 | wc -c)" -gt 102400
kv_check "100 KB strings: the long class name kept" test "$(kv_dump_get "$dump" 'Filter' ClassName0 | wc -c)" -gt 102400
kv_check "100 KB strings: an unloadable theme falls back to the plain look" \
    test "$(kv_dump_get "$dump" 'Design' Theme)" = "ﾃﾞﾌｫﾙﾄ"

# Stars inside the stored texts: only values of exactly two pieces come back.
rb_profile "Kestrovar\\Path Name${T}Button0${T}REG_SZ${T}a*b*${NOTEPAD}
Kestrovar\\Path Name${T}Button1${T}REG_SZ${T}**メモ帳**${NOTEPAD}**
Kestrovar\\Path Name${T}Button2${T}REG_SZ${T}**
Kestrovar\\Path Name${T}Button3${T}REG_SZ${T}${NOTEPAD}"
rb_cycle "stars"
dump=$(kv_profile_dump)
kv_check "stars: three pieces dropped" ! kv_dump_get "$dump" 'Path Name' Button0
kv_check "stars: surrounding stars cut away" test "$(kv_dump_get "$dump" 'Path Name' Button1)" = "メモ帳*${NOTEPAD}"
kv_check "stars: nothing but stars dropped" ! kv_dump_get "$dump" 'Path Name' Button2
kv_check "stars: one piece dropped" ! kv_dump_get "$dump" 'Path Name' Button3

# Grid sizes and icon sizes far outside what the settings offer.
for grid in "0 0" "-3 -1" "1000 1000" "1 1"; do
    set -- $grid
    rb_profile "Kestrovar\\Design${T}Col${T}REG_DWORD${T}$1
Kestrovar\\Design${T}Row${T}REG_DWORD${T}$2
Kestrovar\\Path Name${T}Button0${T}REG_SZ${T}メモ帳*${NOTEPAD}"
    rb_cycle "grid $1 x $2"
done
for size in 0 1000; do
    rb_profile "Kestrovar\\Design${T}IconSize${T}REG_DWORD${T}$size
Kestrovar\\Path Name${T}Button0${T}REG_SZ${T}メモ帳*${NOTEPAD}"
    rb_cycle "icon size $size"
    rb_cycle "icon size $size, second start with its data file"
done

# 10,001 items (every index the program reads) plus one it never reads.
lines=""
for n in $(seq 0 10001); do
    lines+="Kestrovar\\Path Name${T}Button$n${T}REG_SZ${T}item $n*${NOTEPAD}"$'\n'
done
rb_profile "$lines"
# Without a data file every item's icon comes from the shell at the start and again at the quit.
KV_START_TIMEOUT_MS=240000
rb_cycle "10001 items" 240
dump=$(kv_profile_dump)
kv_check "10001 items: all kept" test "$(printf '%s\n' "$dump" | grep -c "^Kestrovar\\\\Path Name${T}Button")" = 10002
kv_check "10001 items: the last read index kept" test "$(kv_dump_get "$dump" 'Path Name' Button10000)" = "item 10000*${NOTEPAD}"
rb_cycle "10001 items, second start with the data file" 240

kv_finish
