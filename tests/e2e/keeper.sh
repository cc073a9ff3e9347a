#!/bin/bash
# A clipboard keeper of the kind clipboard managers are takes the clipboard back whenever the
# program empties it: the reading still shows every rune picture and none of the keeper's text,
# and the program stays responsive. With a keeper that never answers a request, the reading is
# on screen within a second.
. "$(dirname "$0")/lib.sh"
KEEPER_LOG="$WORK/keeper.log"
KEPT="kept by the keeper"

# start_keeper [--silent]
start_keeper() {
    : >"$KEEPER_LOG"
    "$(dirname "$0")/clipboard-keeper.py" "$@" "$KEEPER_LOG" "$KEPT" &
    KEEPER_PID=$!
    PIDS+=("$KEEPER_PID")
    poll 10 grep -qx ready "$KEEPER_LOG" || fail "the clipboard keeper did not start"
}

microseconds() {
    local now=$EPOCHREALTIME
    echo $((10#${now/[.,]/}))
}

# The reading view's place in the main window's client area.
VIEW_X=8 VIEW_Y=56 VIEW_WIDTH=467 VIEW_HEIGHT=225

# reading_shown WINDOW: the view shows the reading's dark green text.
reading_shown() {
    local view green
    view="${VIEW_WIDTH}x${VIEW_HEIGHT}+$VIEW_X+$((VIEW_Y + $(menu_bar_height "$1")))"
    green=$(import -window "$1" png:- 2>/dev/null | convert - -crop "$view" \
        -fill black +opaque 'rgb(0,128,0)' -fill white -opaque 'rgb(0,128,0)' \
        -format '%[fx:int(mean*w*h)]' info: 2>/dev/null) || return 1
    [ "${green:-0}" -ge 200 ]
}

# root_reading WINDOW: ticks Root alone and answers all its questions "May Be" (under-active,
# three rune stones), up to the last "Next", which is left to the caller.
root_reading() {
    click_main "$1" 26 106
    click_main "$1" 380 238
    for question in 1 2 3 4 5 6 7 8; do
        click_main "$1" 80 216
        if [ "$question" -lt 8 ]; then click_main "$1" 424 269; fi
    done
}

# The keeper is never asked for what it holds.
not_asked() {
    if grep -q '^request' "$KEEPER_LOG"; then
        fail "the program asked the keeper: $(grep '^request' "$KEEPER_LOG" | tr '\n' ' ')"
    fi
}

# Clicks into the reading and selects it all, which puts it in the primary selection, one the
# keeper leaves alone; the program itself answers for it.
expected=$(golden_block underactive 0)
select_reading() {
    click_main "$main" 248 166
    keys "$main" ctrl+a
    [ "$(timeout 5 xclip -selection primary -o 2>/dev/null)" = "$expected" ]
}

# The reading holds every rune picture and none of the keeper's text.
start_keeper
start_app
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")
root_reading "$main"
click_main "$main" 424 269
poll 5 reading_shown "$main" || fail "no reading on screen"
grep -q '^lost$' "$KEEPER_LOG" || fail "the program did not empty the clipboard"
poll 20 select_reading || fail "the reading differs: $(xclip -selection primary -o)"
html=$(timeout 5 xclip -selection primary -t text/html -o)
for rune in Algiz Mannaz Hagalaz; do
    grep -q "alt=\"$rune rune stone\"" <<<"$html" || fail "no picture of $rune in the reading"
done
[ "$(grep -o '<img' <<<"$html" | wc -l)" -eq 3 ] || fail "the reading does not hold three pictures"
not_asked
kill -9 "$KEEPER_PID" "$APP_PID"
wait "$KEEPER_PID" "$APP_PID" 2>/dev/null || true

# A keeper that never answers: the reading does not wait for it, nor does the mouse over it.
start_keeper --silent
start_app
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")
root_reading "$main"
if reading_shown "$main"; then fail "the question screen looks like a reading"; fi
started=$(microseconds)
click_main "$main" 424 269
poll 5 reading_shown "$main" || fail "no reading on screen"
elapsed=$(($(microseconds) - started))
echo "the reading was on screen after $((elapsed / 1000)) ms"
[ "$elapsed" -lt 1000000 ] || fail "the reading took $((elapsed / 1000)) ms to appear"
poll 20 select_reading || fail "the program no longer answers after the reading"
not_asked
echo "PASS: keeper"
