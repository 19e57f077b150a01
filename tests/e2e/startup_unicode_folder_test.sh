#!/usr/bin/env bash
# The program in a folder "Café 😀\René": it loads its hook library, finds and draws its themes
# and keeps its profile under its own name (an accent just before a backslash is a lead byte to a
# double-byte scan under code page 1252). Its Japanese texts set from code (the context menu,
# the message of a second start, the headings of the registered applications page) read back
# exactly as written, whatever the system's code page.
# Also runs under code page 1252.
source "$KV_SOURCE/tests/e2e/lib.sh"
source "$KV_SOURCE/tests/e2e/settings_lib.sh"
KV_APP_FOLDER='Café 😀/René'
kv_setup startup_unicode_folder

launcher_size() { kv_probe launcher | cut -d' ' -f4-5; }
menu_closed() { ! kv_probe find-class '#32768' 300 >/dev/null; }
open_menu_at() {
    xdotool mousemove "$1" "$2" sleep 0.2 click 3
    kv_probe find-class '#32768' 3000 >/dev/null
}
choose() {
    kv_key "$@"
    kv_wait_for "menu closed" 5 menu_closed
}
# The menu's entries but the theme submenu's (indented).
menu_top() { grep -v '^  '; }
themes_listed() {
    local theme
    for theme in "$KV_APP"/Themes/*/; do
        grep -qxF "  $(basename "$theme")" <<<"$1" || return 1
    done
}

kv_check "launcher starts" kv_start
kv_check "with no message" test -z "$(kv_probe dialogs)"
kv_wheel_click 500 400
kv_check "a wheel click shows the launcher: the hook library is loaded" test "$(kv_probe launcher | cut -d' ' -f1)" = 1

# (450,400) lies in the gaps between the buttons: the launcher's own background.
open_menu_at 450 400
menu=$(kv_probe menu)
printf '%s\n' "$menu" | sed 's/^/# menu: /'
kv_check "the context menu reads as written" test "$(menu_top <<<"$menu")" = "$(printf '%s\n' \
    '設定(&O)' 'ﾃｰﾏ(&T)' '' 'ﾊﾞｰｼﾞｮﾝ情報(&V)' 'ｷｬﾝｾﾙ(&C)' '' 'Kestrovarの終了(&X)')"
kv_check "its theme submenu offers the plain look" grep -qxF '  ﾃﾞﾌｫﾙﾄ' <<<"$menu"
kv_check "and every theme folder" themes_listed "$menu"
kv_key t
kv_key Down
choose Return
kv_check "a theme is drawn" test "$(launcher_size)" != "153 53"
kv_screenshot startup_unicode_folder_theme

kv_start --no-wait
second=$KV_PID
kv_check "a second start shows its message" kv_wait_for "the message" 20 kv_probe wait-dialog Kestrovar 500
kv_check "it reads as written" grep -qF '"別のKestrovarが実行中です。"' <<<"$(kv_probe dialogs)"
kv_probe press-dialog Kestrovar 1 >/dev/null
kv_check "the second process ends" kv_wait_exit "$second" 15

kv_sheet_open
kv_sheet_page 1
kv_check "the registered applications page's headings read as written" \
    test "$(kv_probe page-columns "$KV_SHEET" 1000)" = "$(printf '%s\n' 'ﾂｰﾙﾁｯﾌﾟﾃｷｽﾄ' 'ｺﾏﾝﾄﾞ')"
kv_screenshot startup_unicode_folder_sheet
kv_sheet_close 2

kv_check "quit" kv_quit
sections=$(kv_profile_dump | cut -f1 | sort -u)
printf '%s\n' "$sections" | sed 's/^/# section: /'
kv_check "the profile is kept under the program's name" \
    test -n "$sections" -a -z "$(grep -v '^Kestrovar\(\\\|$\)' <<<"$sections")"
kv_finish
