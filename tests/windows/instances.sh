#!/bin/bash
# One copy at a time, for the Windows program under Wine on a virtual X display, from a fresh
# prefix: after a crash several copies started at the same moment open one window, and each of
# the others shows its box and ends when it is answered; a read-only lock file left by a killed
# copy refuses no start.
#   instances.sh PROGRAM_FOLDER     (the folder build.sh makes: cv-veyloom.exe, Qt and plugins)
set -euo pipefail
folder=$(realpath "$1")
SHOTS=
. "$(dirname "$0")/e2e-lib.sh"

[ -f "$folder/cv-veyloom.exe" ] || fail "no cv-veyloom.exe in $folder"
use_wine_prefix "$WORK/prefix"
unset QT_QPA_FONTDIR

# start_app: the program from its folder, with no Qt from the build in reach; start_gated: the
# same once the gate is open.
start_app() {
    (
        while [ "${1:-}" = gated ] && [ ! -e "$WORK/gate" ]; do sleep 0.01; done
        exec env -u WINEPATH -u QT_PLUGIN_PATH -u QT_QPA_PLATFORM wine "$folder/cv-veyloom.exe"
    ) >>"$WORK/app.log" 2>&1 &
    APP_PID=$!
    PIDS+=("$APP_PID")
}
start_gated() { start_app gated; }

main_gone() { [ "$(count_windows "CV Veyloom v1.0")" -eq 0 ]; }

# kill_copy PID: ends the copy outright, as a crash does; its lock file stays.
kill_copy() {
    kill -9 "$1"
    wait "$1" 2>/dev/null || true
    poll 20 main_gone || fail "the killed copy's window stayed"
}

start_app
wait_window "CV Veyloom v1.0" "$MAIN_WIDTH" >/dev/null
kill_copy "$APP_PID"
lock=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/*' -name cv-veyloom.lock)
[ -n "$lock" ] || fail "no lock file in the user's local application data"

for trial in 1 2 3; do
    [ -f "$lock" ] || fail "trial $trial: no lock left by the killed copy"
    race "$trial" 6
    kill_copy "$WINNER"
done

# A lock file a tidy-up tool or a backup made read-only, left by a killed copy.
chmod a-w "$lock"
start_app
shown() { window_named "CV Veyloom v1.0" "$MAIN_WIDTH" >/dev/null || window_named "CV Veyloom" >/dev/null; }
poll 60 shown || fail "the program showed no window: $(cat "$WORK/app.log")"
window_named "CV Veyloom" >/dev/null && fail "a read-only lock file refused the start"
echo "PASS: one copy at a time under Wine"
