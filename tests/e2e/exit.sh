#!/bin/bash
# Closing the main window leads to the exit screen, and closing that ends the program with no
# process left behind.
. "$(dirname "$0")/lib.sh"

start_app
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")
keys "$main" alt+f x
exit_screen=$(wait_window "CV Veyloom v1.0" "$EXIT_WIDTH")
running "$APP_PID" || fail "the program ended with the main window"
click "$exit_screen" 441 196
poll 20 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "the program did not end"
wait "$APP_PID" || fail "the program ended with status $?"
[ -z "$(program_processes)" ] || fail "a copy of the program is still running"
echo "PASS: exit"
