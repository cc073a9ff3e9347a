#!/bin/bash
# Closing the main window leads to the exit screen; a referral is sent from it, and closing it
# ends the program with no process left behind.
. "$(dirname "$0")/lib.sh"

start_app
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")
keys "$main" alt+f x
exit_screen=$(wait_window "CV Veyloom v1.0" "$EXIT_WIDTH")
poll 10 bash -c "! xdotool search --onlyvisible --name '^CV Veyloom v1.0\$' | grep -qx '$main'" \
    || fail "the main window is still open"
running "$APP_PID" || fail "the program ended with the main window"

fill() {
    click "$exit_screen" "$1" "$2"
    xdotool type --delay 20 "$3"
}
focus "$exit_screen"
fill 114 249 "Asha Rao"
fill 348 249 "asha@example.org"
fill 114 273 "Ravi & Co"
fill 348 273 "ravi@example.org"
click "$exit_screen" 248 297
referral='http://www.orravine.com/cvsw-refer-a-friend.php?taf1=Asha%20Rao&taf2=asha%40example.org&taf3=Your%20Message%0D%0A&taf4=Ravi%20%26%20Co&taf5=ravi%40example.org&taf6=http://www.cv-veyloom.com/'
poll 10 grep -qxF "$referral" "$BROWSER_LOG" || fail "the referral opened '$(cat "$BROWSER_LOG")'"
import -window "$exit_screen" "$WORK/exit.png"

click "$exit_screen" 441 196
poll 20 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "the program did not end"
wait "$APP_PID" || fail "the program ended with status $?"
[ -z "$(program_processes)" ] || fail "a copy of the program is still running"
echo "PASS: exit"
