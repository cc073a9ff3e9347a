#!/bin/bash
# Takes the pictures of the windows shown in the README, from the real program on a virtual
# display, into docs/.   tools/screenshots.sh [build folder]
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
    exec "$(dirname "$0")/../tests/e2e/with-xvfb.sh" "$0" "$@"
fi
root=$(cd "$(dirname "$0")/.." && pwd)
APP=$(readlink -f "${1:-$root/build}/app/cv-veyloom")
. "$root/tests/e2e/lib.sh"
docs="$root/docs"
mkdir -p "$docs"

shot() {
    sleep 0.3 # let the last paint reach the screen
    import -window "$1" "$docs/$2.png"
}

start_app
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")
shot "$main" personal-details

# Navel chakra, every answer "May Be": under-active, with its six runes.
click_main "$main" 26 $((106 + 24 * 2))
click_main "$main" 380 238
click_main "$main" 80 216
shot "$main" question
for _ in 1 2 3 4 5 6 7 8; do
    click_main "$main" 80 216
    click_main "$main" 424 269
done
shot "$main" reading

keys "$main" alt+h a
about=$(wait_window "CV Veyloom v1.0" 383)
shot "$about" about
keys "$about" Escape

keys "$main" alt+f x
exit_screen=$(wait_window "CV Veyloom v1.0" "$EXIT_WIDTH")
shot "$exit_screen" exit-screen
click "$exit_screen" 441 196

# The first screen again, under a dark desktop colour scheme: qt6ct's "darker".
[ -f /usr/share/qt6ct/colors/darker.conf ] || fail "qt6ct is not installed"
mkdir -p "$XDG_CONFIG_HOME/qt6ct"
printf '[Appearance]\ncolor_scheme_path=/usr/share/qt6ct/colors/darker.conf\ncustom_palette=true\nstyle=Fusion\n' \
    >"$XDG_CONFIG_HOME/qt6ct/qt6ct.conf"
ended() { ! running "$APP_PID"; }
poll 10 ended || fail "the program did not end"
QT_QPA_PLATFORMTHEME=qt6ct start_app
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")
shot "$main" personal-details-dark
keys "$main" alt+f x
click "$(wait_window "CV Veyloom v1.0" "$EXIT_WIDTH")" 441 196
echo "Pictures written to $docs"
