#!/bin/bash
# Fifteen days after the last reminder: the reminder before the main window, answered "No",
# and today's date stored with its offset from UTC.
. "$(dirname "$0")/lib.sh"

today=$(date +%F)

mkdir -p "$(dirname "$SETTINGS")"
printf '[Settings]\nLastUpdateReminder=%s\n' "$(date -d '15 days ago' +%FT%T)" >"$SETTINGS"
start_app
box=$(wait_window "CV Veyloom")
window_named "CV Veyloom v1.0" >/dev/null && fail "the main window came before the reminder"
keys "$box" alt+n
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")
poll 10 bash -c "grep -Eq 'LastUpdateReminder=${today}T[0-9:]{8}([+-][0-9]{2}:[0-9]{2}|Z)$' '$SETTINGS'" \
    || fail "the date was not stored again with its offset: '$(stored_reminder)'"
[ ! -s "$BROWSER_LOG" ] || fail "answering No opened $(cat "$BROWSER_LOG")"
echo "PASS: reminder"
