# Helpers of the settings-sheet scenarios, sourced after lib.sh. The sheet is found by its
# caption; page controls are driven through the probe's sheet commands.

KV_SHEET="Kestrovar v3.0.7.3"
KV_APPLY_BUTTON=0x3021  # the property sheet's Apply button
KV_WM_COMMAND=0x111
KV_WM_NULL=0

# Opens the sheet with the launcher's settings command and waits for it.
kv_sheet_open() {
    kv_probe post $KV_WM_COMMAND 101 0 >/dev/null &&
        kv_probe wait-dialog "$KV_SHEET" 10000 >/dev/null
}

# Waits until the sheet's thread has handled what was posted to it (a sent message is handled
# before posted ones, so first give the posted click time to be picked up).
kv_sheet_settle() {
    sleep 0.3
    kv_probe page-send "$KV_SHEET" 0 $KV_WM_NULL 0 0 >/dev/null 2>&1
    return 0
}

kv_sheet_page() {
    kv_probe sheet-page "$KV_SHEET" "$1" >/dev/null
    kv_sheet_settle
}

kv_page_click() {
    kv_probe page-click "$KV_SHEET" "$1" >/dev/null
    kv_sheet_settle
}

# Prints the result of a message sent to a control of the current page.
kv_page_send() {
    kv_probe page-send "$KV_SHEET" "$@"
}

# "enabled checked x y w h" of a control of the current page.
kv_page_control() {
    kv_probe page-control "$KV_SHEET" "$1"
}

kv_page_has() {
    kv_page_control "$1" >/dev/null
}

kv_page_enabled() {
    test "$(kv_page_control "$1" | cut -d' ' -f1)" = 1
}

kv_page_checked() {
    test "$(kv_page_control "$1" | cut -d' ' -f2)" = 1
}

kv_page_items() {
    kv_probe page-items "$KV_SHEET" "$1"
}

# Closes the sheet with OK (1), Cancel (2) and waits until it is gone and the launcher settled.
kv_sheet_close() {
    kv_probe press-dialog "$KV_SHEET" "$1" >/dev/null
    kv_wait_for "the sheet closes" 10 ! kv_probe wait-dialog "$KV_SHEET" 0
    kv_settle
}

# Waits for a visible dialog with CAPTION, gives its edit box 1005 TEXT and presses OK.
kv_text_dialog_answer() {
    local caption=$1 text=$2
    kv_probe wait-dialog "$caption" 5000 >/dev/null || return 1
    kv_probe dialog-settext "$caption" 1005 "$text" || return 1
    kv_probe press-dialog "$caption" 1 >/dev/null
    kv_sheet_settle
}
