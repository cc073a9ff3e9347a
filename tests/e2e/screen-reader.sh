#!/bin/bash
# The program used through a screen reader's eyes and hands alone (screen-reader.py), on a
# session bus of this test's own, which starts the accessibility bus.
. "$(dirname "$0")/lib.sh"

[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || fail "no session bus: run under dbus-run-session"
start_app DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
wait_window "CV Veyloom v1.0" "$MAIN_WIDTH" >/dev/null
{
    golden_block open 0 spoken
    golden_block overactive 3 spoken
} >"$WORK/reading.txt"
"$(dirname "$0")/screen-reader.py" "$APP_PID" "$BROWSER_LOG" "$WORK/reading.txt" || fail "see above"
poll 20 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "the program did not end"
wait "$APP_PID" || fail "the program ended with status $?"
echo "PASS: screen-reader"
