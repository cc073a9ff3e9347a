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
echo "PASS: instances"
