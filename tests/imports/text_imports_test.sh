#!/usr/bin/env bash
# text_imports_test.sh TRIPLE IMAGE...: no shipped image calls an ANSI ("A") function of the
# system, which would pass its texts through the system's code page. An image calls a function
# through its import table, its delay-load table (which objdump does not list) or GetProcAddress;
# every way leaves the function's name in the image, so each system export that ends in A is
# looked for among the image's strings. Allowed: functions that carry no text of ours (the
# debugger output, and what the C runtime calls on its own: its thread library's unnamed events
# and semaphores, the delay-load helper's loading of system libraries by their ASCII names, the
# 32-bit runtime's look-up of its unwinding library by name, and the startup information it
# reads for the window-show flag).
set -u
triple=$1
shift
allowed=" OutputDebugStringA CreateEventA CreateSemaphoreA LoadLibraryA GetModuleHandleA GetStartupInfoA "
libdir=/usr/$triple/lib
libs="kernel32 user32 gdi32 advapi32 shell32 comctl32 comdlg32 version shlwapi ole32 winmm psapi"

ansi_exports() {
    for lib in $libs; do
        "$triple-nm" --defined-only "$libdir/lib$lib.a" 2>/dev/null
    done | awk '$2 == "T" { print $3 }' | sed -e 's/^_//' -e 's/@[0-9]*$//' | grep -E '^[A-Za-z0-9_]+A$' | sort -u
}

exports=$(ansi_exports)
[ -n "$exports" ] || { echo "not ok - no export names found in $libdir"; exit 1; }
failed=0 n=0
for image in "$@"; do
    n=$((n + 1))
    found=$(strings -n 4 "$image" | grep -xF -f <(echo "$exports") | sort -u |
        while read -r name; do [[ "$allowed" == *" $name "* ]] || echo "$name"; done | tr '\n' ' ')
    if [ -z "$found" ]; then
        echo "ok $n - $image calls no ANSI text function"
    else
        failed=1
        echo "not ok $n - $image calls: $found"
    fi
done
exit $failed
