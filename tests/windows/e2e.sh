#!/bin/bash
# The Windows installer under Wine on a virtual X display, from a fresh prefix: a silent
# install for the current user, the installed program through a whole test to its reading, its
# date in the registry, a second copy refused, the exit screen, and a silent uninstall that
# leaves nothing behind.
#   e2e.sh SETUP_EXE [SCREENSHOT_DIR]
set -euo pipefail
setup=$(realpath "$1")
SHOTS=${2:-}
. "$(dirname "$0")/e2e-lib.sh"

use_wine_prefix "$WORK/prefix"
unset QT_QPA_FONTDIR

use_scope user
settings_key='HKCU\Software\Orravine\cv-veyloom\Settings'

# clipboard: the clipboard's text. A clipboard that Wine holds may leave a request unanswered,
# so a read gives up after a while, and then fails: that is no empty clipboard. Wine ends the
# lines on it with CR LF.
clipboard() {
    local text status=0
    text=$(timeout 5 xclip -selection clipboard -o 2>/dev/null) || status=$?
    [ "$status" -ne 124 ] || return 1
    printf '%s' "$text" | tr -d '\r'
}

# start_app: the installed program, as the Start-menu shortcut starts it, with no Qt from the
# build in reach.
start_app() {
    env -u WINEPATH -u QT_PLUGIN_PATH -u QT_QPA_PLATFORM \
        wine "$WIN_FOLDER\\cv-veyloom.exe" >>"$WORK/app.log" 2>&1 &
    APP_PID=$!
    PIDS+=("$APP_PID")
}

wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$WORK/bin/record-browser" /f \
    >/dev/null 2>&1
wine "$setup" /S || fail "the installer failed with status $?"
[ -f "$FOLDER/cv-veyloom.exe" ] || fail "nothing installed in $FOLDER"
[ -f "$FOLDER/platforms/qwindows.dll" ] || fail "no platform plugin installed"
for licence in LGPL-3.0-only.txt libstdc++-libgcc-copyright.txt libwinpthread-copyright.txt; do
    [ -f "$FOLDER/licenses/$licence" ] || fail "licenses\\$licence is not installed"
done
grep -q "GCC Runtime Library Exception" "$FOLDER/licenses/libstdc++-libgcc-copyright.txt" \
    || fail "the run-time libraries' notice lacks their exception"
[ -f "$SHORTCUT" ] || fail "no Start-menu shortcut"
[ "$(reg_value "$KEY" DisplayName)" = "CV Veyloom" ] || fail "no entry in the installed programs"
[ "$(reg_value "$KEY" Publisher)" = "Orravine" ] || fail "the entry names no publisher"
[ "$(reg_value "$KEY" DisplayVersion)" = "1.0" ] || fail "the entry names no version"
[ "$(reg_value "$KEY" DisplayIcon)" = "$WIN_FOLDER\\cv-veyloom.exe,0" ] \
    || fail "the entry shows no icon"
[ -n "$(reg_value "$KEY" EstimatedSize)" ] || fail "the entry gives no size"

start_app
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")
screenshot first-screen "$main"

# The first start stores today's date with its offset from UTC.
today=$(date +%F)
stored() { reg_value "$settings_key" LastUpdateReminder; }
stored_today() { stored | grep -Eq "^${today}T[0-9:]{8}([+-][0-9]{2}:[0-9]{2}|Z)$"; }
poll 20 stored_today || fail "no date of today under $settings_key: '$(stored)'"

# Something another program put on the clipboard, which Wine shares with X, before the reading.
printf 'copied elsewhere' | xclip -selection clipboard
holds_copy() { [ "$(clipboard)" = "copied elsewhere" ]; }
poll 10 holds_copy || fail "xclip could not fill the clipboard"

take_two_chakras "$main"

# Writing the reading empties the clipboard. The reading, read back through the clipboard: its
# texts, and a picture in the place of each rune.
clipboard_empty() {
    local text
    text=$(clipboard) && [ -z "$text" ]
}
poll 30 clipboard_empty || fail "the clipboard still holds '$(clipboard)' after the reading"
screenshot reading "$main"
expect_copied_reading "$main"
xdotool mousemove --window "$main" 300 $((200 + $(menu_bar_height "$main")))
poll 10 clipboard_empty || fail "moving the mouse over the reading left it on the clipboard"

# Pages open in the default browser, which Wine asks for through its own browser launcher.
keys "$main" alt+h o
poll 10 grep -qx 'http://www.cv-veyloom.com/cv-free-veyloom-help.html' "$BROWSER_LOG" \
    || fail "Online Help opened '$(cat "$BROWSER_LOG")'"

# A second copy shows only its box, and ends when it is answered.
first=$APP_PID
start_app
box=$(wait_window "CV Veyloom")
[ "$(xdotool search --onlyvisible --name '^CV Veyloom v1.0$' | wc -l)" -eq 1 ] \
    || fail "the second copy opened a window"
screenshot second-copy
keys "$box" Return
poll 20 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "the refused copy did not end"
running "$first" || fail "the first copy ended with the second"

# A copy killed outright leaves no lock that refuses the next start.
kill -9 "$first"
wait "$first" 2>/dev/null || true
main_gone() { ! window_named "CV Veyloom v1.0" >/dev/null; }
poll 20 main_gone || fail "the killed copy's window stayed"
start_app
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")
window_named "CV Veyloom" >/dev/null && fail "the killed copy's lock refused the start"

# Closing goes through the exit screen, which stays above other windows.
keys "$main" alt+f x
exit_screen=$(wait_window "CV Veyloom v1.0" "$EXIT_WIDTH")
xprop -id "$exit_screen" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE \
    || fail "the exit screen is not kept on top: $(xprop -id "$exit_screen" _NET_WM_STATE)"
screenshot exit-screen "$exit_screen"
running "$APP_PID" || fail "the program ended with the main window"
click "$exit_screen" 441 196
poll 20 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "the program did not end"

# The silent uninstaller finishes in a copy of itself; it leaves no file, shortcut or entry.
wine "$FOLDER/cv-veyloom-uninstall.exe" /S || fail "the uninstaller failed with status $?"
all_gone() { [ ! -e "$FOLDER" ] && [ ! -e "$SHORTCUT" ] && ! has_key "$KEY"; }
poll 30 all_gone || fail "left behind: $(find "$FOLDER" "$SHORTCUT" 2>/dev/null)
$(wine reg query "$KEY" 2>/dev/null)"
echo "PASS: Windows installer under Wine"
