#!/usr/bin/env bash
# exports_test.sh DLL...: each built hook library exports exactly the five operations, by their
# plain names (no ordinal-only entries, no decorated or extra names). A DLL whose build tree is
# absent (the i686 tree is built by `make win32` and `make test`) is reported and skipped.
objdump=x86_64-w64-mingw32-objdump
expected="End IsLockMessage LockMessage Start WheelClickLock"
passed=0 failed=0 n=0

names() {
    "$objdump" -p "$1" | awk '
        /^\[Ordinal\/Name Pointer\] Table/ { on = 1; next }
        on && /^$/ { exit }
        on { print $NF }' | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//'
}

address_entries() {
    "$objdump" -p "$1" | sed -n 's/^\tExport Address Table[ \t]*\([0-9a-f]*\)$/\1/p' | head -1
}

for dll in "$@"; do
    n=$((n + 1))
    if [ ! -f "$dll" ]; then
        echo "ok $n - $dll # SKIP not built"
        continue
    fi
    got=$(names "$dll")
    entries=$((16#$(address_entries "$dll")))
    if [ "$got" = "$expected" ] && [ "$entries" -eq 5 ]; then
        passed=$((passed + 1))
        echo "ok $n - $dll exports exactly: $got"
    else
        failed=$((failed + 1))
        echo "not ok $n - $dll exports \"$got\" in $entries entries, expected \"$expected\" in 5"
    fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
