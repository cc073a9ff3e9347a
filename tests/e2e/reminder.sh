#!/bin/bash
# First run: no reminder, and the date is stored. Fifteen days later: the reminder, answered
# "No", and the date stored again.
. "$(dirname "$0")/lib.sh"

today=$(date +%F)

start_app
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")
poll 10 test -s "$SETTINGS" || fail "nothing stored on the first run"
[[ "$(stored_reminder)" =~ ^$today"T"[0-9:]{8}[+-][0-9]{2}:[0-9]{2}$ ]] \
    || fail "stored date is '$(stored_reminder)'"
window_named "CV Veyloom" >/dev/null && fail "a reminder was shown on the first run"
kill "$APP_PID" && wait "$APP_PID" || true

printf '[Settings]\nLastUpdateReminder=%s\n' "$(date -d '15 days ago' +%FT%T)" >"$SETTINGS"
start_app
box=$(wait_window "CV Veyloom")
window_named "CV Veyloom v1.0" >/dev/null && fail "the main window came before the reminder"
import -window "$box" "$WORK/reminder.png"
keys "$box" alt+n
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")
poll 10 bash -c "grep -q 'LastUpdateReminder=$today' '$SETTINGS'" \
    || fail "the date was not stored again: '$(stored_reminder)'"
[ ! -s "$BROWSER_LOG" ] || fail "answering No opened $(cat "$BROWSER_LOG")"
echo "PASS: reminder"
