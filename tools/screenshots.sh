#!/bin/bash
# Takes the pictures of the windows shown in the README, from the real program on a virtual
# display, into docs/.   tools/screenshots.sh [build folder]
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
    # Room for the main window at 200 %.
    XVFB_SCREEN=2048x1536x24 exec "$(dirname "$0")/../tests/e2e/with-xvfb.sh" "$0" "$@"
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

# click_scaled SCALE WINDOW X Y: a click at a point of the main window's client area, given in
# the window's own pixels at 100 %.
click_scaled() {
    local menu_bar=$(($(window_height "$2") - 390 * $1))
    click "$2" $(($3 * $1)) $(($4 * $1 + menu_bar))
}

# take_reading SCALE WINDOW: the Navel chakra with every answer "May Be", so under-active, with
# its six runes.
take_reading() {
    click_scaled "$1" "$2" 26 $((106 + 24 * 2))
    click_scaled "$1" "$2" 380 238
    click_scaled "$1" "$2" 80 216
    [ -z "${3:-}" ] || shot "$2" "$3"
    for _ in 1 2 3 4 5 6 7 8; do
        click_scaled "$1" "$2" 80 216
        click_scaled "$1" "$2" 424 269
    done
}

stopped() { ! running "$1"; }

# end_app: ends the program started last without going through its exit screen.
end_app() {
    kill "$APP_PID"
    wait "$APP_PID" 2>/dev/null || true
}

start_app
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")
shot "$main" personal-details
take_reading 1 "$main" question
shot "$main" reading

keys "$main" alt+h a
about=$(wait_window "CV Veyloom v1.0" 383)
shot "$about" about
keys "$about" Escape

keys "$main" alt+f x
exit_screen=$(wait_window "CV Veyloom v1.0" "$EXIT_WIDTH")
shot "$exit_screen" exit-screen
click "$exit_screen" 441 196
poll 10 stopped "$APP_PID" || fail "the program did not end"

# A dark colour scheme, as a KDE desktop hands it to Qt programs through its settings file.
cat >"$XDG_CONFIG_HOME/kdeglobals" <<'COLOURS'
[Colors:Window]
BackgroundNormal=46,47,51
ForegroundNormal=228,228,226
[Colors:View]
BackgroundNormal=30,31,34
ForegroundNormal=228,228,226
[Colors:Button]
BackgroundNormal=58,60,65
ForegroundNormal=228,228,226
[Colors:Selection]
BackgroundNormal=44,112,186
ForegroundNormal=255,255,255
COLOURS
start_app XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")
shot "$main" personal-details-dark
end_app
rm "$XDG_CONFIG_HOME/kdeglobals"

# 200 % display scaling.
start_app QT_SCALE_FACTOR=2
main=$(wait_window "CV Veyloom v1.0" $((MAIN_WIDTH * 2)))
take_reading 2 "$main"
shot "$main" reading-200
end_app
echo "Pictures written to $docs"
