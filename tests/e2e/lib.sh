# Shared steps of the end-to-end tests: private state, the program as a separate process, and a
# user's hands (xdotool) and clipboard (xclip). Every wait is bounded polling.
set -euo pipefail

APP=${APP:?path to cv-veyloom}
WORK=$(mktemp -d)
export XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$WORK/bin"
chmod 700 "$XDG_RUNTIME_DIR"
SETTINGS="$XDG_CONFIG_HOME/Orravine/cv-veyloom.conf"
BROWSER_LOG="$WORK/browser.log"
: >"$BROWSER_LOG"

# With no xdg-open on the program's PATH, Qt hands addresses to $BROWSER, which records them.
cat >"$WORK/bin/record-browser" <<RECORDER
#!/bin/sh
printf '%s\n' "\$1" >>"$BROWSER_LOG"
RECORDER
chmod +x "$WORK/bin/record-browser"

# At the end: a step that stopped the test through errexit rather than fail (which leaves a file,
# as it may run in a subshell) names itself and where it was called from; then the script's own
# before_cleanup, if it has one, and the clean-up.
PIDS=()
cleanup() {
    local status=$? i where=
    if [ "$status" != 0 ] && [ ! -e "$WORK/failed" ]; then
        for ((i = 1; i < ${#FUNCNAME[@]} - 1; i++)); do
            where+=" ${FUNCNAME[i]} (called at $(basename "${BASH_SOURCE[i + 1]}"):${BASH_LINENO[i]})"
        done
        echo "FAIL: \"$BASH_COMMAND\" ended with status $status in${where:- the script itself}" >&2
    fi
    [ "$(type -t before_cleanup)" != function ] || before_cleanup
    for pid in "${PIDS[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    touch "$WORK/failed"
    echo "FAIL: $*" >&2
    [ -s "$WORK/app.log" ] && sed 's/^/    program: /' "$WORK/app.log" | tail -60 >&2
    exit 1
}

# start_app [NAME=VALUE...]: starts the program in the background, with these variables added to
# its environment; its pid is in $APP_PID.
start_app() {
    env -i HOME="$WORK" DISPLAY="$DISPLAY" XAUTHORITY="${XAUTHORITY:-}" XDG_CONFIG_HOME="$XDG_CONFIG_HOME" \
        XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" PATH="$WORK/bin" BROWSER=record-browser \
        QT_QPA_PLATFORM=xcb ASAN_OPTIONS="${ASAN_OPTIONS:-}" LSAN_OPTIONS="${LSAN_OPTIONS:-}" \
        UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" "$@" "$APP" >"$WORK/app.log" 2>&1 &
    APP_PID=$!
    PIDS+=("$APP_PID")
}

# poll SECONDS COMMAND...: runs the command every tenth of a second until it succeeds.
poll() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# window_named NAME [WIDTH]: the id of the visible window with exactly that caption (and width).
window_named() {
    local id
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        if [ -z "${2:-}" ] || [ "$(window_width "$id")" = "$2" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

window_width() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^WIDTH=//p'; }
window_height() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^HEIGHT=//p'; }

# wait_window NAME [WIDTH]: waits for the window and prints its id.
wait_window() {
    poll 30 window_named "$@" >/dev/null || fail "no window '$1' appeared: $(cat "$WORK/app.log")"
    window_named "$@"
}

MAIN_WIDTH=500
EXIT_WIDTH=741

focus() { xdotool windowfocus --sync "$1"; }

# click WINDOW X Y: a left click at window coordinates. (No --sync: it would wait forever when
# the pointer is already there.)
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# The main window's client area starts below its menu bar.
menu_bar_height() { echo $(($(window_height "$1") - 390)); }

# click_main WINDOW X Y: a click in the main window's client area.
click_main() { click "$1" "$2" $(($3 + $(menu_bar_height "$1"))); }

keys() {
    local window=$1
    shift
    focus "$window"
    xdotool key --clearmodifiers "$@"
}

clipboard() { xclip -selection clipboard -o 2>/dev/null || true; }

READINGS=$(dirname "${BASH_SOURCE[0]}")/../readings

# take_two_chakras MAIN: Heart ticked, then Root, whose questions still come first; Root answered
# "Yes" throughout (four of them score: open), Heart with every scoring answer (over-active).
take_two_chakras() {
    click_main "$1" 26 $((106 + 24 * 3))
    click_main "$1" 26 106
    click_main "$1" 380 238
    for _ in 1 2 3 4 5 6 7 8; do click_main "$1" 424 269; done
    for answer in Yes No No Yes Yes No No Yes; do
        [ "$answer" = No ] && click_main "$1" 80 192
        click_main "$1" 424 269
    done
}

# expect_copied_reading MAIN: copies the reading of take_two_chakras out of the view with the
# keyboard until the clipboard holds the golden one.
expect_copied_reading() {
    local expected
    expected=$(
        golden_block open 0
        golden_block overactive 3
    )
    copy_reading() {
        click_main "$1" 248 166
        keys "$1" ctrl+a ctrl+c
        [ "$(clipboard)" = "$expected" ]
    }
    poll 30 copy_reading "$1" || {
        clipboard >"$WORK/actual.txt"
        printf '%s' "$expected" | diff - "$WORK/actual.txt" | head -20
        fail "the reading copied from the view differs from the expected one"
    }
}

# golden_block STATE CHAKRA [spoken]: that chakra's block (0 Root) of the golden reading of all
# seven chakras in that state, as plain text copied out of the view gives it, each picture an
# object character; spoken, as a screen reader hears it, each picture its name ("Algiz rune stone").
golden_block() {
    local picture='\xEF\xBF\xBC'
    [ "${3:-}" != spoken ] || picture='\u\1 rune stone'
    awk -v chakra="$2" '/^\*\*.* is (Underactive|Open|Overactive)$/ { ++block } block == chakra + 1' \
        "$READINGS/all-$1.txt" | sed -e 's/^\*\*//' -e "s/^\[picture \([a-z]*\)\.jpg\]\$/$picture/"
}

stored_reminder() { sed -n 's/^LastUpdateReminder=//p' "$SETTINGS" 2>/dev/null || true; }

running() { kill -0 "$1" 2>/dev/null; }

count_windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }

# race TRIAL COPIES: starts that many copies with the script's own start_gated, each waiting at
# the gate (a file) until all are there, as an impatient user's clicks start them. Exactly one
# opens its window; each of the others shows its box and ends with status 0 once it is answered.
# The copy left running is in $WINNER.
race() {
    local trial=$1 copies=$2 windows box pid started=()
    rm -f "$WORK/gate"
    for _ in $(seq "$copies"); do
        start_gated
        started+=("$APP_PID")
    done
    touch "$WORK/gate"
    all_shown() {
        [ $(($(count_windows "CV Veyloom v1.0") + $(count_windows "CV Veyloom"))) -ge "$copies" ]
    }
    poll 120 all_shown || fail "trial $trial: after two minutes $(count_windows "CV Veyloom v1.0") \
windows and $(count_windows "CV Veyloom") boxes"
    windows=$(count_windows "CV Veyloom v1.0")
    [ "$windows" -eq 1 ] || fail "trial $trial: $windows copies opened a window"
    # Wine may stack a box below the main window, and sends keys to the window last clicked.
    for box in $(xdotool search --onlyvisible --name '^CV Veyloom$'); do
        xdotool windowraise "$box"
        click "$box" 10 10
        keys "$box" Return
    done
    one_left() { [ "$(for pid in "${started[@]}"; do running "$pid" && echo; done | wc -l)" -eq 1 ]; }
    poll 30 one_left || fail "trial $trial: the refused copies did not end"
    for pid in "${started[@]}"; do
        if running "$pid"; then
            WINNER=$pid
        else
            wait "$pid" || fail "trial $trial: a refused copy ended with status $?"
        fi
    done
}

# program_processes: the copies of the program started by this test that still run.
program_processes() {
    local environ pid
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$(readlink -f "$APP")" ] || continue
        tr '\0' '\n' <"$environ" 2>/dev/null | grep -qx "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" && echo "$pid"
    done
    return 0
}
