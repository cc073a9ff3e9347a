#!/bin/bash
# What the windows ask of the window manager: none can be maximised, only the main window can be
# minimised, and the exit screen stays above the others.
. "$(dirname "$0")/lib.sh"

# frame WINDOW: the functions and decorations the window asks for (Motif hints), as numbers.
frame() {
    local hints
    hints=$(xprop -id "$1" _MOTIF_WM_HINTS | sed -n 's/^_MOTIF_WM_HINTS([A-Z_]*) = //p')
    IFS=', ' read -r _ functions decorations _ <<<"$hints"
    echo "$((functions)) $((decorations))"
}

# expect_frame WINDOW NAME MINIMISE: no maximise function or button; minimise only when asked.
expect_frame() {
    local functions decorations
    read -r functions decorations <<<"$(frame "$1")"
    ((functions & 16 || decorations & 64)) && fail "$2 can be maximised: $(frame "$1")"
    (((functions & 8) == $3 * 8 && (decorations & 32) == $3 * 32)) \
        || fail "$2 can$([ "$3" = 1 ] && echo not) be minimised: $(frame "$1")"
    return 0
}

# check_frames [NAME=VALUE...]: starts the program with these variables added, checks each of its
# windows and closes it.
check_frames() {
    start_app "$@"
    main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")
    expect_frame "$main" "the main window" 1
    keys "$main" alt+h a
    about=$(wait_window "CV Veyloom v1.0" 383)
    expect_frame "$about" "the About window" 0
    keys "$about" Escape
    keys "$main" alt+f x
    exit_screen=$(wait_window "CV Veyloom v1.0" "$EXIT_WIDTH")
    expect_frame "$exit_screen" "the exit screen" 0
    xprop -id "$exit_screen" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE \
        || fail "the exit screen is not kept on top"
    click "$exit_screen" 441 196
    poll 20 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "the program did not end"
}

check_frames

# A Wayland desktop with its X server beside it: the program's windows still go where the
# desktop draws their frames, so none of them offers a maximise button.
weston --backend=headless-backend.so --socket=wayland-frames --width=1024 --height=768 \
    --shell=kiosk-shell.so >"$WORK/weston.log" 2>&1 &
PIDS+=($!)
poll 20 test -S "$XDG_RUNTIME_DIR/wayland-frames" \
    || fail "no Wayland compositor: $(cat "$WORK/weston.log")"
# Without its Wayland plugin Qt falls back to X11 by itself, and what follows would pass whatever
# the program asks for. With the plugin the program, sent to Wayland alone, makes its window
# there.
start_app QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-frames DISPLAY= WAYLAND_DEBUG=client
poll 30 grep -q 'xdg_toplevel' "$WORK/app.log" \
    || fail "the program made no window on Wayland: is Qt's Wayland plugin installed?"
kill -9 "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
check_frames QT_QPA_PLATFORM= WAYLAND_DISPLAY=wayland-frames XDG_SESSION_TYPE=wayland \
    XDG_CURRENT_DESKTOP=KDE
echo "PASS: frames"
