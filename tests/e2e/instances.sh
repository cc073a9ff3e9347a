#!/bin/bash
# A second start shows only its box and ends; the first copy keeps running.
. "$(dirname "$0")/lib.sh"

start_app
first=$APP_PID
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")

start_app
second=$APP_PID
box=$(wait_window "CV Veyloom")
[ "$(xdotool search --onlyvisible --name '^CV Veyloom v1.0$' | wc -l)" -eq 1 ] \
    || fail "the second copy opened a window of its own"
running "$second" || fail "the second copy ended before its box was answered"
keys "$box" Return
poll 20 bash -c "! kill -0 $second 2>/dev/null" || fail "the second copy did not end"
wait "$second" || fail "the second copy ended with status $?"
running "$first" || fail "the first copy ended"
[ "$(program_processes)" = "$first" ] || fail "copies running: $(program_processes)"
window_named "CV Veyloom v1.0" "$MAIN_WIDTH" >/dev/null || fail "the first copy's window is gone"

# A copy killed outright leaves its lock behind; the next start is not refused.
kill -9 "$first"
wait "$first" 2>/dev/null || true
lock="$XDG_RUNTIME_DIR/cv-veyloom-$(id -u).lock"
[ -e "$lock" ] || fail "no lock file at $lock"
start_app
wait_window "CV Veyloom v1.0" "$MAIN_WIDTH" >/dev/null
window_named "CV Veyloom" >/dev/null && fail "a start after a killed copy was refused"
kill -9 "$APP_PID"

# Neither does a lock file that is empty or garbage.
for content in "" "not a lock file at all"; do
    printf '%s' "$content" >"$lock"
    start_app
    wait_window "CV Veyloom v1.0" "$MAIN_WIDTH" >/dev/null
    window_named "CV Veyloom" >/dev/null && fail "a lock file holding '$content' refused the start"
    kill -9 "$APP_PID"
    wait "$APP_PID" 2>/dev/null || true
done
echo "PASS: instances"
