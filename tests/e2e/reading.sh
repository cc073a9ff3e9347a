#!/bin/bash
# A whole test of two chakras taken with the mouse, the reading read back with the keyboard,
# the clipboard emptied by the mouse, and a menu link reaching the browser.
. "$(dirname "$0")/lib.sh"

# Something another program put on the clipboard before the reading.
printf 'copied elsewhere' | xclip -selection clipboard
holds_copy() { [ "$(clipboard)" = "copied elsewhere" ]; }
poll 10 holds_copy || fail "xclip could not fill the clipboard"

start_app
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")

take_two_chakras "$main"

# Writing the reading empties the clipboard and leaves no picture on it.
poll 30 test -z "$(clipboard)" || fail "the clipboard still holds '$(clipboard)' after the reading"
targets=$(xclip -selection clipboard -t TARGETS -o 2>/dev/null || true)
case "$targets" in *image*) fail "a picture is left on the clipboard: $targets" ;; esac

expect_copied_reading "$main"

# Any mouse movement over the view empties the clipboard.
xdotool mousemove --window "$main" 300 $((200 + $(menu_bar_height "$main")))
poll 10 test -z "$(clipboard)" || fail "the clipboard still holds the reading"

# The browser is reached through the menu.
keys "$main" alt+h o
poll 10 grep -qx 'http://www.cv-veyloom.com/cv-free-veyloom-help.html' "$BROWSER_LOG" \
    || fail "Online Help opened '$(cat "$BROWSER_LOG")'"
echo "PASS: reading"
