#!/bin/bash
# The installer's own promises under Wine, on a virtual X display, each in a fresh prefix: both
# scopes alone and side by side, an upgrade in place, no change under a running copy, and the
# wizard driven with the keyboard.
#   installer-test.sh SETUP_EXE NEXT_SETUP_EXE [SCREENSHOT_DIR]
# NEXT_SETUP_EXE: an installer of version 1.0.1 whose folder lacks styles\qwindowsvistastyle.dll.
set -euo pipefail
setup=$(realpath "$1")
next_setup=$(realpath "$2")
SHOTS=${3:-}
. "$(dirname "$0")/e2e-lib.sh"

# Each check starts from a copy of one prefix made once. A prefix holds some 700 MB of Wine's
# own libraries, so the copy a check is done with goes before the next is made.
use_wine_prefix "$WORK/template"
unset QT_QPA_FONTDIR
fresh_prefix() {
    wineserver -k 2>/dev/null || true
    wineserver -w
    rm -rf "$WORK/prefix"
    cp -a "$WORK/template" "$WORK/prefix"
    export WINEPREFIX="$WORK/prefix"
}

# expect_installed SCOPE VERSION [WINDOWS_FOLDER]: that scope's copy, of that version, in that
# folder (the scope's own by default).
expect_installed() {
    use_scope "$1"
    local folder=${3:-$WIN_FOLDER} unix
    unix=$(winepath -u "$folder")
    [ -f "$unix/cv-veyloom.exe" ] || fail "$1: nothing installed in $folder"
    [ -f "$unix/imageformats/qjpeg.dll" ] || fail "$1: no JPEG plugin in $folder"
    [ -f "$SHORTCUT" ] || fail "$1: no Start-menu shortcut at $SHORTCUT"
    [ "$(reg_value "$KEY" DisplayVersion)" = "$2" ] \
        || fail "$1: the entry names version '$(reg_value "$KEY" DisplayVersion)'"
    [ "$(reg_value "$KEY" InstallLocation)" = "$folder" ] \
        || fail "$1: the entry names the folder '$(reg_value "$KEY" InstallLocation)'"
}

# expect_none SCOPE: nothing of that scope: no folder, shortcut or entry.
expect_none() {
    use_scope "$1"
    none() { [ ! -e "$FOLDER" ] && [ ! -e "$SHORTCUT" ] && ! has_key "$KEY"; }
    poll 30 none || fail "$1: left behind: $(find "$FOLDER" "$SHORTCUT" 2>/dev/null)
$(wine reg query "$KEY" 2>/dev/null)"
}

# uninstall SCOPE [WINDOWS_FOLDER]: that scope's silent uninstall, run as the entry names it.
uninstall() {
    use_scope "$1"
    wine "$(winepath -u "${2:-$WIN_FOLDER}")/uninstall.exe" /S || fail "$1: uninstaller status $?"
}

# The installer runs as the user who starts it; only the scope for everyone asks for more.
manifest=$(grep -ao '<requestedExecutionLevel [^>]*>' "$setup")
[[ $manifest == *'level="asInvoker"'* ]] || fail "the installer asks for rights: $manifest"
grep -aq '<dpiAware [^>]*>true</dpiAware>' "$setup" || fail "the installer is not DPI-aware"

# Each scope alone, where it puts its files, then both side by side: each uninstaller removes
# its own and leaves the other's.
for row in "user /S" "user /S /CurrentUser" "all /S /AllUsers"; do
    read -r scope switches <<<"$row"
    other=all
    [ "$scope" = user ] || other=user
    fresh_prefix
    # shellcheck disable=SC2086
    wine "$setup" $switches || fail "$row: installer status $?"
    expect_installed "$scope" 1.0
    expect_none "$other"
    uninstall "$scope"
    expect_none "$scope"
done
fresh_prefix
wine "$setup" /S /CurrentUser || fail "current user beside everyone: installer status $?"
wine "$setup" /S /AllUsers || fail "everyone beside the current user: installer status $?"
expect_installed user 1.0
expect_installed all 1.0
for scope in user all; do
    other=all
    [ "$scope" = user ] || other=user
    uninstall "$scope"
    expect_none "$scope"
    expect_installed "$other" 1.0
    wine "$setup" /S "/$([ "$scope" = user ] && echo CurrentUser || echo AllUsers)" \
        || fail "$scope: reinstall status $?"
done
echo "PASS: both scopes, alone and side by side"

# An upgrade lands in the installed copy's folder, whichever it is, leaves one entry of the new
# version, removes the file the new version no longer has, and keeps the user's stored date.
settings_key='HKCU\Software\Orravine\cv-veyloom\Settings'
stored='2026-11-30T09:15:00+01:00'
# Wine quotes an argument with a blank, and NSIS takes /D= only unquoted: a folder without one.
for row in "user -" 'all C:\Apps\Veyloom'; do
    read -r scope folder <<<"$row"
    fresh_prefix
    wine reg add "$settings_key" /v LastUpdateReminder /d "$stored" /f >/dev/null 2>&1
    use_scope "$scope"
    switch=/CurrentUser
    [ "$scope" = user ] || switch=/AllUsers
    if [ "$folder" = - ]; then
        folder=$WIN_FOLDER
        wine "$setup" /S "$switch" || fail "$row: installer status $?"
    else
        wine "$setup" /S "$switch" "/D=$folder" || fail "$row: installer status $?"
    fi
    unix=$(winepath -u "$folder")
    [ -f "$unix/styles/qwindowsvistastyle.dll" ] || fail "$row: the first version lacks its style"
    wine "$next_setup" /S || fail "$row: upgrade status $?"
    expect_installed "$scope" 1.0.1 "$folder"
    [ ! -e "$unix/styles" ] || fail "$row: the dropped file or its folder is left"
    [ "$(reg_value "$settings_key" LastUpdateReminder)" = "$stored" ] \
        || fail "$row: the stored date is now '$(reg_value "$settings_key" LastUpdateReminder)'"
    # Installing the same version again repairs a damaged copy.
    rm "$unix/Qt6Gui.dll"
    wine "$next_setup" /S || fail "$row: repair status $?"
    [ -f "$unix/Qt6Gui.dll" ] || fail "$row: the repair left Qt6Gui.dll out"
    uninstall "$scope" "$folder"
    expect_none "$scope"
    [ ! -e "$unix" ] || fail "$row: left behind: $(find "$unix")"
done
echo "PASS: upgrade in place"

# Under a running copy the silent installer and uninstaller change nothing and end with code 3;
# once it has ended, both succeed. Run in place (_?=), the uninstaller gives its own exit code.
fresh_prefix
folder='C:\Veyloom'
unix=$(winepath -u "$folder")
wine "$setup" /S "/D=$folder" || fail "installer status $?"
snapshot() { (cd "$unix" && find . -type f -printf '%P %s %T@\n' | sort && find . -type f -exec md5sum {} + | sort); }
before=$(snapshot)
env -u WINEPATH -u QT_PLUGIN_PATH -u QT_QPA_PLATFORM wine "$folder\\cv-veyloom.exe" \
    >>"$WORK/app.log" 2>&1 &
PIDS+=($!)
wait_window "CV Veyloom v1.0" "$MAIN_WIDTH" >/dev/null
status=0
wine "$setup" /S || status=$?
[ "$status" = 3 ] || fail "the installer under a running copy ended with status $status"
status=0
wine "$unix/uninstall.exe" /S "_?=$folder" || status=$?
[ "$status" = 3 ] || fail "the uninstaller under a running copy ended with status $status"
[ "$(snapshot)" = "$before" ] || fail "a file changed under the running copy"
use_scope user
expect_installed user 1.0 "$folder"
wineserver -k
wine "$setup" /S || fail "the installer after the program ended: status $?"
wine "$unix/uninstall.exe" /S || fail "the uninstaller after the program ended: status $?"
expect_none user
[ ! -e "$unix" ] || fail "left behind: $(find "$unix")"
echo "PASS: nothing changed under a running copy"

# The wizard, driven with the keyboard as a user would: the scope page (only for me, chosen),
# the folder page, and the finish page, whose ticked "Run CV Veyloom" starts the program.
fresh_prefix
wine "$setup" >>"$WORK/setup.log" 2>&1 &
PIDS+=($!)
wizard=$(wait_window "CV Veyloom Setup")
# A key sent before the next page is up is lost, so each waits for the page it is meant for:
# the folder page is a change of picture, the finish page the only one with a dark left side.
picture() { import -window "$wizard" -depth 8 rgb:- 2>/dev/null | md5sum; }
changed() { [ "$(picture)" != "$1" ]; }
finish_shown() {
    [[ $(import -window "$wizard" png:- 2>/dev/null | convert - -crop 1x1+20+280 -depth 8 txt:- |
        tail -n 1) =~ \(([0-9]+),([0-9]+),([0-9]+)\) ]] &&
        [ $((BASH_REMATCH[1] + BASH_REMATCH[2] + BASH_REMATCH[3])) -lt 200 ]
}
settled() { local first; first=$(picture) && sleep 0.5 && [ "$(picture)" = "$first" ]; }
poll 30 settled || fail "the scope page never settled"
screenshot installer-scope "$wizard"
scope_page=$(picture)
keys "$wizard" Return
poll 30 changed "$scope_page" || fail "Return left the scope page up"
keys "$wizard" Return
poll 120 finish_shown || fail "the wizard reached no finish page"
screenshot installer-finish "$wizard"
keys "$wizard" Return
wait_window "CV Veyloom v1.0" "$MAIN_WIDTH" >/dev/null
expect_installed user 1.0
echo "PASS: the wizard by keyboard"
