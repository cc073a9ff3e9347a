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

# Tick Heart, then Root; Root's questions still come first.
click_main "$main" 26 $((106 + 24 * 3))
click_main "$main" 26 106
click_main "$main" 380 238

# Root: "Yes" throughout (four of them score: open). Heart: every scoring answer (over-active).
for _ in 1 2 3 4 5 6 7 8; do click_main "$main" 424 269; done
for answer in Yes No No Yes Yes No No Yes; do
    [ "$answer" = No ] && click_main "$main" 80 192
    click_main "$main" 424 269
done

# Writing the reading empties the clipboard and leaves no picture on it.
poll 30 test -z "$(clipboard)" || fail "the clipboard still holds '$(clipboard)' after the reading"
targets=$(xclip -selection clipboard -t TARGETS -o 2>/dev/null || true)
case "$targets" in *image*) fail "a picture is left on the clipboard: $targets" ;; esac

expected=$(
    golden_block open 0
    golden_block overactive 3
)
copy_reading() {
    click_main "$main" 248 166
    keys "$main" ctrl+a ctrl+c
    [ "$(clipboard)" = "$expected" ]
}
poll 30 copy_reading || {
    clipboard >"$WORK/actual.txt"
    printf '%s' "$expected" | diff - "$WORK/actual.txt" | head -20
    fail "the reading copied from the view differs from the expected one"
}

# Any mouse movement over the view empties the clipboard.
xdotool mousemove --window "$main" 300 $((200 + $(menu_bar_height "$main")))
poll 10 test -z "$(clipboard)" || fail "the clipboard still holds the reading"

# The browser is reached through the menu.
keys "$main" alt+h o
poll 10 grep -qx 'http://www.cv-veyloom.com/cv-free-veyloom-help.html' "$BROWSER_LOG" \
    || fail "Online Help opened '$(cat "$BROWSER_LOG")'"
echo "PASS: reading"
