# End-to-end harness, sourced by tests/e2e/*_test.sh and tests/robustness/*_test.sh.
#
# Each scenario gets a fresh copy of the Wine prefix, its own Xvfb on a free display, the
# program staged in C:\Kestrovar and a persistent wineserver; everything it started is stopped
# on exit. ctest sets KV_BIN (the exe folder), KV_BUILD (build/) and KV_SOURCE (the repo root);
# run by hand, they default to build/win of this checkout. KV_CODE_PAGE=1252 runs the scenario
# with that ANSI code page instead of 932 (scripts/winenv); KV_APP_FOLDER is the program's
# folder under C:\ (default Kestrovar; / between folders). Texts to and from the probe are UTF-8.
#
#   kv_setup NAME                     prepare the scenario (work folder $KV_WORK, app folder $KV_APP)
#   kv_start [--no-wait] [ARGS...]    start Kestrovar.exe of $KV_APP in $KV_START_DIR (default: $KV_APP,
#                                     the program's own folder); without --no-wait, wait until
#                                     its launcher window is up and settled (at most
#                                     KV_START_TIMEOUT_MS, default 30000). Sets KV_PID.
#   kv_quit [TIMEOUT_S]               exit command to the launcher, wait for the process to end
#   kv_kill                           end the launcher at once, as the system ends a process, and
#                                     wait until the process and its window are gone
#   kv_wait_exit PID [TIMEOUT_S]      wait for a process started by kv_start to end; its exit
#                                     status is then in KV_EXIT_STATUS
#   kv_probe ARGS...                  a kvprobe.exe command (output in UTF-8), answered by the
#                                     scenario's one running probe (a program start under Wine
#                                     costs about half a second); with KV_PROBE_SERVER empty, by a
#                                     kvprobe.exe of its own, for a call that runs beside others
#   kv_wine ARGS...                   run any program in the prefix (output untouched)
#   kv_set_dpi DPI                    the screen's pixels per inch (LogPixels) for the programs started
#                                     from now on; restarts the prefix's system processes, so no
#                                     program of the scenario may be running
#   kv_open_file PATH                 in the open-file dialog that is coming up, enter PATH as the file
#                                     name and press Open; wait until the dialog has closed
#   kv_wheel_click X Y                middle click at (X, Y), then let the launcher settle
#   kv_key KEYS...                    xdotool key KEYS, then settle
#   kv_point X Y                      move the pointer to (X, Y), then wait until the launcher has
#                                     seen it there and settled
#   kv_wait_drag_source INDEX [TIMEOUT_S]  wait until the launcher has taken up the item at INDEX (a
#                                     press or a held space key on its button) before the pointer
#                                     moves on
#   dialogs_show TEXT                 whether the visible dialogs (caption and control lines) hold TEXT
#   dialog_gone CAPTION               whether no visible dialog has that caption
#   kv_settle                         wait until the launcher has handled what was sent to it
#   kv_screenshot NAME                $KV_BUILD/e2e/NAME.png of the whole display
#   kv_profile_set SECTION KEY TYPE VALUE   HKCU\Software\Onri's tool\Kestrovar\SECTION (UTF-8 text)
#   kv_profile_load                   write many values in one go: lines in the dump format below
#                                     on stdin (REG_SZ, REG_DWORD in decimal or 0x hex, REG_BINARY
#                                     as hex digits)
#   kv_profile_get SECTION KEY        print the value (REG_DWORD in decimal); exit 1 if absent
#   kv_profile_delete SECTION KEY     delete one value
#   kv_profile_delete_all             delete HKCU\Software\Onri's tool
#   kv_profile_dump                   every value under HKCU\Software\Onri's tool as sorted UTF-8
#                                     lines "SECTION<TAB>KEY<TAB>TYPE<TAB>VALUE" (SECTION is
#                                     relative to that key, e.g. "Kestrovar\Design")
#   kv_dump_get DUMP SECTION KEY      the value of one key in a dump (exit 1 if absent): one
#                                     registry read for many checks
#   kv_wait_for DESCRIPTION TIMEOUT_S COMMAND...   poll COMMAND until it succeeds (exit 1 on timeout)
#   kv_check DESCRIPTION COMMAND...   one test line: "ok N - ..." or "not ok N - ..."
#                                     (COMMAND may start with "!" to expect failure)
#   kv_finish                         print "N passed, M failed"; exit non-zero if any failed

KV_SOURCE=${KV_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
KV_BUILD=${KV_BUILD:-$KV_SOURCE/build}
KV_BIN=${KV_BIN:-$KV_BUILD/win/bin}
KV_BUILD=$(mkdir -p "$KV_BUILD" && cd "$KV_BUILD" && pwd)
KV_BIN=$(cd "$KV_BIN" && pwd)
KV_ROOT=$KV_SOURCE
source "$KV_SOURCE/scripts/winenv"

KV_PROFILE_ROOT="HKCU\\Software\\Onri's tool"
KV_PROFILE_KEY="$KV_PROFILE_ROOT\\Kestrovar"
# The open-file dialog's caption is the system's own, in the language of the locale.
if [ "$KV_CODE_PAGE" = 1252 ]; then KV_OPEN_CAPTION=Open; else KV_OPEN_CAPTION='開く'; fi
# The launcher's private messages that scenarios send, and the captions of its text dialogs.
KV_KVM_HIDE=$((0x400 + 12))
KV_KVM_DELETEITEM=$((0x400 + 16))
KV_KVM_GETDRAGSOURCE=$((0x400 + 20))
KV_TIP_TITLE='ﾂｰﾙﾁｯﾌﾟﾃｷｽﾄの編集'
KV_COMMAND_TITLE='起動ｺﾏﾝﾄﾞの編集'
KV_PASSED=0
KV_FAILED=0
KV_PIDS=()
KV_PID=

_kv_log() { echo "# $*"; }

kv_setup() {
    local name=${1:?kv_setup NAME}
    # A run under another code page works, and keeps its pictures, apart from the usual one.
    [ "$KV_CODE_PAGE" = 932 ] || KV_SHOT_SUFFIX=_cp$KV_CODE_PAGE
    name+=${KV_SHOT_SUFFIX:-}
    KV_NAME=$name
    # Work folders are per build tree so that two trees can run the same scenario at once.
    KV_WORK="$KV_BUILD/e2e/work/$(basename "$(dirname "$KV_BIN")")/$name"
    KV_SHOTS="$KV_BUILD/e2e"
    rm -rf "$KV_WORK"
    mkdir -p "$KV_WORK" "$KV_SHOTS"
    trap _kv_cleanup EXIT

    export WINEPREFIX="$KV_WORK/prefix"
    "$KV_SOURCE/scripts/make-prefix" >/dev/null || { echo "Bail out! no base prefix"; exit 1; }
    "$KV_SOURCE/scripts/copy-prefix" "$WINEPREFIX" || { echo "Bail out! prefix copy failed"; exit 1; }
    KV_APP="$WINEPREFIX/drive_c/${KV_APP_FOLDER:-Kestrovar}"
    "$KV_SOURCE/scripts/stage-app" "$KV_APP" "$KV_BIN" || { echo "Bail out! staging failed"; exit 1; }

    "$KV_SOURCE/scripts/xvfb-start" "$KV_WORK/xvfb" </dev/null >/dev/null 2>&1 ||
        { echo "Bail out! Xvfb did not start"; exit 1; }
    export DISPLAY=$(cat "$KV_WORK/xvfb/display")
    _kv_start_watchdog
    _kv_start_prefix
    [ "$(kv_probe code-page)" = "$KV_CODE_PAGE" ] ||
        { echo "Bail out! the programs do not run with code page $KV_CODE_PAGE (is the $LANG locale generated?)"; exit 1; }
    _kv_log "scenario $name on display $DISPLAY, prefix $WINEPREFIX, code page $KV_CODE_PAGE"
}

_kv_start_prefix() {
    # Every background process gets its own output files: an inherited pipe would keep
    # ctest waiting for the end of the test's output long after the test ended.
    wineserver -p </dev/null >>"$KV_WORK/wineserver.log" 2>&1
    # Bring up the prefix services and the virtual desktop now, detached from our pipes. The
    # system processes end when the last program of the prefix ends; an idle program keeps
    # them up for the whole scenario, which makes each later wine start several times faster.
    wine "$KV_BIN/kvprobe.exe" idle </dev/null >>"$KV_WORK/wine.log" 2>&1 &
    KV_PIDS+=($!)
    wine "$KV_BIN/kvprobe.exe" foreground </dev/null >>"$KV_WORK/wine.log" 2>&1
    # The probe that answers kv_probe, from here to the end of the scenario.
    _kv_probe_serve
}

kv_set_dpi() {
    local dpi=${1:?kv_set_dpi DPI}
    kv_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    # Every program of the prefix reads the DPI when it starts: the system processes start again.
    kill "${KV_PIDS[@]}" 2>/dev/null
    exec {KV_PROBE_IN}>&- {KV_PROBE_OUT}<&-
    wineserver -k </dev/null >/dev/null 2>&1
    wineserver -w </dev/null >/dev/null 2>&1
    _kv_start_prefix
}

# Xvfb and wineserver outlive their starters. If this script is killed (a ctest timeout kills
# its process tree, and the EXIT trap does not run on SIGKILL), a detached watchdog stops them.
_kv_start_watchdog() {
    local xvfb_pid
    xvfb_pid=$(cat "$KV_WORK/xvfb/xvfb.pid")
    (setsid bash -c '
        echo $$ > "$1/watchdog.pid"
        while kill -0 "$0" 2>/dev/null; do sleep 2; done
        WINEPREFIX="$2" wineserver -k
        grep -q Xvfb "/proc/$3/cmdline" 2>/dev/null && kill "$3"' \
        "$$" "$KV_WORK" "$WINEPREFIX" "$xvfb_pid" </dev/null >/dev/null 2>&1 &)
}

_kv_cleanup() {
    local status=$?
    local pid
    [ -f "$KV_WORK/watchdog.pid" ] && kill "$(cat "$KV_WORK/watchdog.pid")" 2>/dev/null
    for pid in "${KV_PIDS[@]}"; do
        kill "$pid" 2>/dev/null
    done
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k </dev/null >/dev/null 2>&1
        # wineserver -k returns at once; wait until the server is gone so the prefix is quiet.
        wineserver -w </dev/null >/dev/null 2>&1
    fi
    [ -n "${KV_WORK:-}" ] && "$KV_SOURCE/scripts/xvfb-stop" "$KV_WORK/xvfb"
    exit $status
}

kv_wine() {
    wine "$@" </dev/null
}

kv_probe() {
    local out status
    if [ -n "${KV_PROBE_SERVER:-}" ] && kill -0 "$KV_PROBE_SERVER" 2>/dev/null; then
        _kv_probe_served "$@"
        return
    fi
    out=$(wine "$KV_BIN/kvprobe.exe" "$@" </dev/null 2>>"$KV_WORK/probe.log")
    status=$?
    # 0 and 1 are the probe's answers; anything else means it did not run to its end.
    [ $status -le 1 ] || echo "kv_probe $*: exit status $status" >>"$KV_WORK/probe.log"
    [ -n "$out" ] && printf '%s\n' "$out" | tr -d '\r'
    return $status
}

# The probe's serve protocol: a command's words, each ended by 0x1F, and a newline; the answer's
# lines, then a line of 0x1E and the exit status. The lock keeps calls from background jobs
# apart.
_kv_probe_serve() {
    rm -f "$KV_WORK/probe.in" "$KV_WORK/probe.out"
    mkfifo "$KV_WORK/probe.in" "$KV_WORK/probe.out"
    wine "$KV_BIN/kvprobe.exe" serve <"$KV_WORK/probe.in" >"$KV_WORK/probe.out" 2>>"$KV_WORK/probe.log" &
    KV_PROBE_SERVER=$!
    KV_PIDS+=("$KV_PROBE_SERVER")
    exec {KV_PROBE_IN}>"$KV_WORK/probe.in" {KV_PROBE_OUT}<"$KV_WORK/probe.out"
}

_kv_probe_served() {
    local line= out=
    {
        flock 9
        { printf '%s\037' "$@"; printf '\n'; } >&"$KV_PROBE_IN"
        while IFS= read -r -u "$KV_PROBE_OUT" line && [[ $line != $'\036'* ]]; do out+=$line$'\n'; done
    } 9>"$KV_WORK/probe.lock"
    [ -n "$out" ] && printf '%s' "$out" | tr -d '\r'
    line=${line#$'\036'}
    line=${line%$'\r'}
    [ -n "$line" ] || { echo "kv_probe: the probe server gave no answer to: $*" >>"$KV_WORK/probe.log"; return 1; }
    return "$line"
}

kv_start() {
    local wait=1
    if [ "${1:-}" = "--no-wait" ]; then
        wait=0
        shift
    fi
    (cd "${KV_START_DIR:-$KV_APP}" && exec wine "$KV_APP/Kestrovar.exe" "$@" </dev/null >>"$KV_WORK/kestrovar.log" 2>&1) &
    KV_PID=$!
    KV_PIDS+=("$KV_PID")
    if [ $wait -eq 1 ] && ! kv_probe wait-ready "${KV_START_TIMEOUT_MS:-30000}"; then
        _kv_log "the launcher did not come up"
        return 1
    fi
    return 0
}

kv_wait_exit() {
    local pid=${1:?kv_wait_exit PID} timeout=${2:-15}
    local deadline=$((SECONDS + timeout))
    while kill -0 "$pid" 2>/dev/null; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.05
    done
    wait "$pid" 2>/dev/null
    KV_EXIT_STATUS=$?
    return 0
}

# taskkill asks the wineserver to end the process; on a loaded machine that can take longer than
# a start of the next instance, which would then find the old one still holding the
# single-instance mutex. The Unix process is killed too when it outlives the request.
kv_kill() {
    kv_wine taskkill /f /im Kestrovar.exe >/dev/null 2>&1
    if [ -n "$KV_PID" ] && ! kv_wait_exit "$KV_PID" 20; then
        _kv_log "taskkill did not end the launcher within 20 s; killing its process"
        kill -9 "$KV_PID" 2>/dev/null
        kv_wait_exit "$KV_PID" 10 || return 1
    fi
    kv_probe wait-gone 10000
}

kv_quit() {
    local timeout=${1:-15}
    kv_probe quit $((timeout * 1000)) >/dev/null || { _kv_log "the launcher did not close"; return 1; }
    [ -z "$KV_PID" ] || kv_wait_exit "$KV_PID" "$timeout" || { _kv_log "the process did not end"; return 1; }
}

kv_settle() {
    sleep 0.2
    kv_probe wait-ready 5000 >/dev/null 2>&1
    return 0
}

# The hook library reports the click before the input that follows it is handled, so once the
# pointer is seen one pixel further on, the launcher has the click in its queue; the probe then
# waits until it has handled it. A fixed pause would be too short on a busy machine. The pointer
# is left one pixel to the right of (X, Y).
kv_open_file() {
    local path=${1:?kv_open_file PATH}
    kv_probe wait-dialog "$KV_OPEN_CAPTION" 10000 >/dev/null || return 1
    # The dialog may still be filling itself when it shows, and reset a name entered too early:
    # the name is entered again until it stays.
    kv_wait_for "the file name in the open-file dialog" 10 _kv_enter_file_name "$path" || return 1
    kv_probe press-dialog "$KV_OPEN_CAPTION" 1 >/dev/null
    kv_wait_for "the open-file dialog to close" 10 eval '! kv_probe dialogs | grep -qF "dialog \"$KV_OPEN_CAPTION\""'
}

_kv_enter_file_name() {
    kv_probe dialog-settext "$KV_OPEN_CAPTION" 1148 "$1" >/dev/null || kv_probe dialog-settext "$KV_OPEN_CAPTION" 1152 "$1" >/dev/null
    sleep 0.2
    kv_probe dialogs | grep -qF "Edit \"$1\""
}

kv_wheel_click() {
    xdotool mousemove "$1" "$2" click 2 mousemove $(($1 + 1)) "$2"
    kv_probe settle-at $(($1 + 1)) "$2" 5000 >/dev/null 2>&1
    return 0
}

kv_key() {
    xdotool key "$@"
    kv_settle
}

kv_point() {
    xdotool mousemove "$1" "$2"
    kv_probe settle-at "$1" "$2" 5000 >/dev/null 2>&1
    return 0
}

kv_wait_drag_source() {
    kv_wait_for "the launcher to take up item $1" "${2:-10}" eval "test \"\$(kv_probe send $KV_KVM_GETDRAGSOURCE 0 0)\" = $1"
}

dialogs_show() { kv_probe dialogs | grep -qF "$1"; }
dialog_gone() { ! kv_probe dialogs | grep -qF "dialog \"$1\""; }

kv_screenshot() {
    local name=${1:?kv_screenshot NAME}
    import -display "$DISPLAY" -window root "$KV_SHOTS/$name${KV_SHOT_SUFFIX:-}.png" </dev/null >/dev/null 2>&1 ||
        _kv_log "screenshot $name failed"
}

kv_wait_for() {
    local description=$1 timeout=$2
    shift 2
    local deadline=$((SECONDS + timeout))
    until _kv_run "$@" >/dev/null 2>&1; do
        if [ $SECONDS -ge $deadline ]; then
            _kv_log "timed out waiting for: $description"
            return 1
        fi
        sleep 0.1
    done
    return 0
}

# Runs COMMAND...; a leading "!" negates its status.
_kv_run() {
    if [ "$1" = "!" ]; then
        shift
        ! "$@"
    else
        "$@"
    fi
}

kv_check() {
    local description=$1
    shift
    local n=$((KV_PASSED + KV_FAILED + 1))
    if _kv_run "$@"; then
        KV_PASSED=$((KV_PASSED + 1))
        echo "ok $n - $description"
    else
        KV_FAILED=$((KV_FAILED + 1))
        echo "not ok $n - $description"
        [ $KV_FAILED -eq 1 ] && _kv_report_first_failure
    fi
}

# What a reader of a failed run needs to see: the screen, the open dialogs, the launcher's
# state, the foreground window, the pointer and the tails of the logs, taken once, at the
# first failure.
_kv_report_first_failure() {
    local log
    kv_screenshot "${KV_NAME}_first_failure"
    _kv_log "at the first failure: launcher $(kv_probe launcher 2>&1 | head -1)"
    _kv_log "foreground: $(kv_probe foreground 2>&1 | head -1), $(xdotool getmouselocation 2>&1)"
    kv_probe dialogs 2>&1 | head -20 | sed 's/^/# dialog: /'
    for log in kestrovar.log wine.log probe.log; do
        [ -s "$KV_WORK/$log" ] && tail -n 15 "$KV_WORK/$log" | sed "s|^|# $log: |"
    done
    uptime | sed 's/^/# load: /'
}

kv_finish() {
    echo "$KV_PASSED passed, $KV_FAILED failed"
    [ $KV_FAILED -eq 0 ] && [ $KV_PASSED -gt 0 ]
    exit $?
}

# --- the registry profile -------------------------------------------------------------------

kv_profile_set() {
    local section=$1 key=$2 type=$3 value=$4
    wine reg add "$KV_PROFILE_KEY\\$section" /v "$key" /t "$type" /d "$value" /f </dev/null >/dev/null 2>&1
}

# One `reg import` of a .reg file instead of a wine start per value.
kv_profile_load() {
    local file="$KV_WORK/load.reg"
    awk -F'\t' '
        function quote(text,    out, i, c) {
            # Character by character: awks differ in how gsub treats backslashes.
            out = ""
            for (i = 1; i <= length(text); i++) {
                c = substr(text, i, 1)
                out = out ((c == "\\" || c == "\"") ? "\\" c : c)
            }
            return "\"" out "\""
        }
        function binary(hex,    out, i) {
            for (i = 1; i < length(hex); i += 2) out = out (i > 1 ? "," : "") substr(hex, i, 2)
            return "hex:" out
        }
        BEGIN { print "Windows Registry Editor Version 5.00" }
        NF >= 4 {
            section = $1; name = $2; type = $3
            data = $0; sub(/^[^\t]*\t[^\t]*\t[^\t]*\t/, "", data)
            if (section != last) { printf "\n[HKEY_CURRENT_USER\\Software\\Onri'"'"'s tool\\%s]\n", section; last = section }
            if (type == "REG_DWORD") value = sprintf("dword:%08x", data ~ /^0[xX]/ ? hexvalue(data) : data + 0)
            else if (type == "REG_BINARY") value = binary(tolower(data))
            else value = quote(data)
            print quote(name) "=" value
        }
        function hexvalue(text,    i, n) {
            n = 0
            for (i = 3; i <= length(text); i++) n = n * 16 + index("0123456789abcdef", tolower(substr(text, i, 1))) - 1
            return n
        }' | { printf '\xff\xfe'; sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } > "$file" || return 1
    wine reg import "$(winepath -w "$file" 2>/dev/null)" </dev/null >/dev/null 2>&1
}

kv_profile_delete() {
    wine reg delete "$KV_PROFILE_KEY\\$1" /v "$2" /f </dev/null >/dev/null 2>&1
}

kv_profile_delete_all() {
    wine reg delete "$KV_PROFILE_ROOT" /f </dev/null >/dev/null 2>&1
    return 0
}

kv_profile_get() {
    kv_dump_get "$(kv_profile_dump)" "$1" "$2"
}

kv_dump_get() {
    # ENVIRON passes the texts to awk untouched (-v would interpret the backslashes).
    printf '%s\n' "$1" | KV_S="Kestrovar\\$2" KV_K="$3" awk -F'\t' '
        $1 == ENVIRON["KV_S"] && $2 == ENVIRON["KV_K"] {
            sub(/^[^\t]*\t[^\t]*\t[^\t]*\t/, ""); print; found = 1; exit
        }
        END { exit !found }'
}

# Read by the probe through the registry's UTF-16 functions: every name as the system holds it.
kv_profile_dump() {
    kv_probe registry "$KV_PROFILE_ROOT" | LC_ALL=C sort
    return 0
}
