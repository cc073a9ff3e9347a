#!/bin/bash
# A reading with rune stones, its pictures looked for on the screen itself: a stone's grey,
# speckled surface, which no text or control of the window draws.
. "$(dirname "$0")/lib.sh"

# stone_rows WINDOW: how many rows of the window on the screen cross 30 or more pixels in a row
# of a stone's mid greys (110 to 180; the panels are 192), not all of one shade.
stone_rows() {
    local header offset X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1")"
    # The XWD header: big-endian 32-bit fields, then a colour map of 12-byte entries.
    header=($(od -An -v -tu4 --endian=big -N 100 "$XVFB_FRAMEBUFFER"))
    [ "${header[7]}" = 0 ] && [ "${header[11]}" = 32 ] \
        || fail "the screen is not 32-bit pixels, lowest byte first"
    offset=$((header[0] + header[19] * 12 + Y * header[12]))
    tail -c +$((offset + 1)) "$XVFB_FRAMEBUFFER" | head -c $((HEIGHT * header[12])) \
        | od -An -v -tu1 -w"${header[12]}" | awk -v left="$X" -v width="$WIDTH" '
        {
            run = 0; found = 0
            for (x = left; x < left + width; x++) {
                b = $(4 * x + 1); g = $(4 * x + 2); r = $(4 * x + 3)
                if (r - g < 16 && g - r < 16 && b - g < 16 && g - b < 16 && g >= 110 && g <= 180) {
                    if (run++ == 0) { low = g; high = g }
                    if (g < low) low = g
                    if (g > high) high = g
                    if (run >= 30 && high - low >= 8) found = 1
                } else run = 0
            }
            rows += found
        }
        END { print rows + 0 }'
}

# The most rows a window without a stone gave was 4; a stone gives about 90.
stones_shown() { [ "$(stone_rows "$1")" -ge 40 ]; }

start_app
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")
! stones_shown "$main" || fail "the first screen, which shows no stone, looks like one"

# Heart alone, every answer its scoring one: over-active, with the Heart's rune stones.
click_main "$main" 26 $((106 + 24 * 3))
click_main "$main" 380 238
for answer in Yes No No Yes Yes No No Yes; do
    [ "$answer" = No ] && click_main "$main" 80 192
    click_main "$main" 424 269
done
poll 30 stones_shown "$main" \
    || fail "no rune stone shows in the reading ($(stone_rows "$main") rows of stone grey)"
echo "PASS: stones"
