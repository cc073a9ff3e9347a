#!/bin/bash
# Of two copies started at the same moment one opens its window and the other shows only its
# box and ends; so of eight after a crash. Only a running copy's lock refuses a start.
. "$(dirname "$0")/lib.sh"

start_app
one=$APP_PID
start_app
two=$APP_PID
wait_window "CV Veyloom v1.0" "$MAIN_WIDTH" >/dev/null
box=$(wait_window "CV Veyloom")
[ "$(xdotool search --onlyvisible --name '^CV Veyloom v1.0$' | wc -l)" -eq 1 ] \
    || fail "both copies opened a window"
running "$one" && running "$two" || fail "a copy ended before the box was answered"
keys "$box" Return
poll 20 bash -c "! kill -0 $one 2>/dev/null || ! kill -0 $two 2>/dev/null" \
    || fail "the refused copy did not end"
if running "$one"; then first=$one second=$two; else first=$two second=$one; fi
wait "$second" || fail "the refused copy ended with status $?"
[ "$(program_processes)" = "$first" ] || fail "copies running: $(program_processes)"
window_named "CV Veyloom v1.0" "$MAIN_WIDTH" >/dev/null || fail "the first copy's window is gone"

# A copy killed outright leaves its lock behind; the next start is not refused.
kill -9 "$first"
wait "$first" 2>/dev/null || true
lock="$XDG_RUNTIME_DIR/cv-veyloom.lock"
[ -e "$lock" ] || fail "no lock file at $lock"

# Neither does a garbage lock file, nor a folder where the lock file goes.
for content in killed "not a lock file at all" folder; do
    case $content in
    killed) ;;
    folder) rm -f "$lock" && mkdir "$lock" ;;
    *) printf '%s' "$content" >"$lock" ;;
    esac
    start_app
    wait_window "CV Veyloom v1.0" "$MAIN_WIDTH" >/dev/null
    window_named "CV Veyloom" >/dev/null && fail "a lock file '$content' refused the start"
    kill -9 "$APP_PID"
    wait "$APP_PID" 2>/dev/null || true
done

# After a crash eight copies started at the same moment, as an impatient user's clicks start
# them: one opens its window, each of the others shows its box and ends when it is answered. The
# lock is the killed copy's, which Qt replaces itself, or a file that reads as no lock, which the
# copies must replace themselves.
# Each copy waits at the gate until all are there.
cat >"$WORK/bin/at-gate" <<GATE
#!/bin/sh
while [ ! -e "$WORK/gate" ]; do $(command -v sleep) 0.01; done
exec "$(readlink -f "$APP")"
GATE
chmod +x "$WORK/bin/at-gate"
start_gated() { APP="$WORK/bin/at-gate" start_app; }
trial=0
for left in killed killed unreadable; do
    trial=$((trial + 1))
    [ -f "$lock" ] || fail "trial $trial: no lock left by the killed copy"
    [ "$left" = killed ] || printf 'not a lock file at all' >"$lock"
    race "$trial" 8
    kill -9 "$WINNER"
    wait "$WINNER" 2>/dev/null || true
done

# With no runtime folder the lock goes under the user's home, never into a folder all users share.
XDG_RUNTIME_DIR="" start_app
wait_window "CV Veyloom v1.0" "$MAIN_WIDTH" >/dev/null
lock="$WORK/.cache/cv-veyloom/cv-veyloom.lock"
[ -f "$lock" ] || fail "no lock file at $lock"
echo "PASS: instances"
