# Shared steps of the robustness scenarios: one case is a fresh profile, a start, a show and a
# hide at the cursor, and a quit; it passes when the program neither crashed nor hung.
source "$KV_SOURCE/tests/e2e/lib.sh"

# rb_profile LINES: a fresh profile from dump-format lines ("SECTION\tKEY\tTYPE\tVALUE").
rb_profile() {
    kv_profile_delete_all
    [ -n "$1" ] && printf '%s\n' "$1" | kv_profile_load
}

# rb_cycle NAME [QUIT_TIMEOUT_S]: start, show, hide, quit; records checks under NAME.
rb_cycle() {
    local name=$1 quit_timeout=${2:-15}
    if ! kv_start; then
        kv_check "$name: starts" false
        kv_probe dialogs | head -3
        # Leave no instance behind for the next case.
        kv_kill
        return 1
    fi
    kv_wheel_click 500 400
    kv_check "$name: shows at the cursor" test "$(kv_probe launcher | cut -d' ' -f1)" = 1
    kv_wheel_click 500 400
    kv_check "$name: hides again" test "$(kv_probe launcher | cut -d' ' -f1)" = 0
    kv_quit "$quit_timeout"
    kv_check "$name: ends cleanly" test "${KV_EXIT_STATUS:-1}" = 0
}
