#!/bin/bash
# The installer's own promises under Wine, on a virtual X display, each in a fresh prefix: both
# scopes alone and side by side, an upgrade in place, no change under a running copy, a file
# held by another program, records that name more than the folder's files, folders given with
# /D= or named by an entry that cannot be used, and the wizard driven with the keyboard; and the
# entry each scope writes, against the winget manifests made for the installer.
#   installer-test.sh SETUP_EXE NEXT_SETUP_EXE [SCREENSHOT_DIR]
# NEXT_SETUP_EXE: an installer of version 1.0.1 whose folder lacks styles\qwindowsvistastyle.dll.
set -euo pipefail
setup=$(realpath "$1")
next_setup=$(realpath "$2")
SHOTS=${3:-}
. "$(dirname "$0")/e2e-lib.sh"
UNINSTALLER=cv-veyloom-uninstall.exe
RECORD=cv-veyloom-uninstall.list

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
    wine "$(winepath -u "${2:-$WIN_FOLDER}")/$UNINSTALLER" /S || fail "$1: uninstaller status $?"
}

# hold WINDOWS_FILE SECONDS: another program holds the file, sharing it for reading only, from
# when this returns; $HOLDER is its pid. let_go: it lets go at once.
x86_64-w64-mingw32-gcc-posix -municode -O2 -Wall -Wextra -Werror -o "$WORK/hold-file.exe" \
    "$(dirname "$0")/hold-file.c"
hold() {
    rm -f "$WORK/held"
    wine "$WORK/hold-file.exe" "$1" "$2" "$(winepath -w "$WORK/held")" &
    HOLDER=$!
    PIDS+=("$HOLDER")
    poll 30 test -e "$WORK/held" || fail "$1 was never held"
}
let_go() {
    kill "$HOLDER" 2>/dev/null || true
    wait "$HOLDER" 2>/dev/null || true
}

# status_of COMMAND...: prints the command's exit code.
status_of() {
    local status=0
    "$@" >>"$WORK/setup.log" 2>&1 || status=$?
    echo "$status"
}

# status_of_line UNIX_PROGRAM ARGUMENTS: prints the exit code of the program given the
# arguments on its command line as written there, quotes and all, as a script has them (Wine
# quotes each argument that holds a blank or a quote on its own).
status_of_line() {
    printf '"%s" %s\r\nexit %%errorlevel%%\r\n' "$(winepath -w "$1")" "$2" >"$WORK/line.bat"
    status_of wine cmd /c "$(winepath -w "$WORK/line.bat")"
}

# uninstalled SCOPE UNIX_FOLDER: the scope's entry and shortcut are gone and the folder holds
# nothing of ours (waits for an uninstaller that runs from a copy of itself).
uninstalled() {
    use_scope "$1"
    gone() { ! has_key "$KEY" && [ ! -e "$SHORTCUT" ] && [ ! -e "$2/$UNINSTALLER" ]; }
    poll 30 gone "$@" || fail "$1: not uninstalled from $2: $(find "$2" 2>/dev/null)"
}

# The winget manifests made for this installer name the entry it writes in each scope: the key
# is the manifest's ProductCode, its name, publisher and version those of AppsAndFeaturesEntries.
# Where the installer is downloaded from does not matter here.
"$(dirname "$0")/../../scripts/install-deps" python3-yaml
DOWNLOAD_URL=https://downloads.invalid \
    "$(dirname "$0")/../../packaging/windows/winget-manifests.sh" "$setup" "$WORK/winget"
# expect_winget_entry SCOPE: that scope's entry is the one its installer manifest names.
expect_winget_entry() {
    use_scope "$1"
    local named fields=(DisplayName Publisher DisplayVersion) i value
    named=$(/usr/bin/python3 - "$WORK"/winget/*.installer.yaml "$1" <<'END'
import sys, yaml
scope = {"user": "user", "all": "machine"}[sys.argv[2]]
[installer] = [one for one in yaml.safe_load(open(sys.argv[1]))["Installers"]
               if one["Scope"] == scope]
[entry] = installer["AppsAndFeaturesEntries"]
print(installer["ProductCode"], entry["DisplayName"], entry["Publisher"],
      entry["DisplayVersion"], sep="\n")
END
    )
    mapfile -t named <<<"$named"
    local key="${KEY%\\*}\\${named[0]}"
    has_key "$key" || fail "$1: no entry $key, which the winget manifest names"
    for i in 0 1 2; do
        value=$(reg_value "$key" "${fields[i]}")
        [ "$value" = "${named[i + 1]}" ] \
            || fail "$1: the entry's ${fields[i]} is '$value', the manifest's '${named[i + 1]}'"
    done
}

# The installer fits in 6 MiB.
size=$(stat -c %s "$setup")
[ "$size" -le 6291456 ] || fail "the installer has $size bytes, more than 6 MiB"

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
    expect_winget_entry "$scope"
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
wine "$unix/$UNINSTALLER" /S "_?=$folder" || status=$?
[ "$status" = 3 ] || fail "the uninstaller under a running copy ended with status $status"
[ "$(snapshot)" = "$before" ] || fail "a file changed under the running copy"
use_scope user
expect_installed user 1.0 "$folder"
wineserver -k
# A program file that cannot be written for another reason is no running copy: the installer
# goes on, and stops with 2 where it cannot remove the file. Wine run by root writes to a
# read-only file; an immutable one, no one writes.
if chattr +i "$unix/cv-veyloom.exe" 2>/dev/null; then
    status=$(status_of wine "$setup" /S)
    chattr -i "$unix/cv-veyloom.exe"
    [ "$status" = 2 ] || fail "over a program file that cannot be written: status $status"
else
    echo "NOTE: no immutable files here (chattr +i): a program file that cannot be written is not tried"
fi
wine "$setup" /S || fail "the installer after the program ended: status $?"
# A read-only program file is replaced and removed like any other.
wine cmd /c attrib +r "$folder\\cv-veyloom.exe"
wine "$setup" /S || fail "the installer over a read-only program: status $?"
wine cmd /c attrib +r "$folder\\cv-veyloom.exe"
wine "$unix/$UNINSTALLER" /S || fail "the uninstaller after the program ended: status $?"
expect_none user
[ ! -e "$unix" ] || fail "left behind: $(find "$unix")"
echo "PASS: nothing changed under a running copy"

# A file that another program holds (as a virus scanner does) is tried again for a while: held
# for a moment, the uninstall and the upgrade succeed; held on, they end with 2, and leave a
# copy that the entry names and that uninstalls whole once the file is let go. The held file is
# the last one of 1.0's record, and one that 1.0.1 lacks. A move to C:\Moved that the held file
# stops in the folder it leaves ends with 2 too, with an entry that names C:\Moved and leads to
# what is left in both folders: once the file is let go, its uninstaller removes both, and the
# same move run again completes it, with an entry that names C:\Held no more.
fresh_prefix
use_scope user
folder='C:\Held'
unix=$(winepath -u "$folder")
moved='C:\Moved'
for row in "uninstall 4 0" "uninstall 600 2" "upgrade 4 0" "upgrade 600 2" "move 600 2" \
    "move-again 600 2"; do
    read -r step seconds code <<<"$row"
    wine "$setup" /S "/D=$folder" || fail "$row: installer status $?"
    hold "$folder\\styles\\qwindowsvistastyle.dll" "$seconds"
    named=$folder
    case $step in
    uninstall) status=$(status_of wine "$unix/$UNINSTALLER" /S "_?=$folder") ;;
    upgrade) status=$(status_of wine "$next_setup" /S) ;;
    move*)
        named=$moved
        status=$(status_of wine "$setup" /S /CurrentUser "/D=$moved")
        ;;
    esac
    [ "$status" = "$code" ] || fail "$row: status $status"
    if [ "$code" = 2 ]; then
        [ "$(reg_value "$KEY" InstallLocation)" = "$named" ] \
            || fail "$row: the entry names the folder '$(reg_value "$KEY" InstallLocation)'"
        [ "$(reg_value "$KEY" UninstallString)" = "\"$named\\$UNINSTALLER\"" ] \
            || fail "$row: the entry names the uninstaller $(reg_value "$KEY" UninstallString)"
    elif [ "$step" = upgrade ]; then
        expect_installed user 1.0.1 "$folder"
    else
        # Run in place, the uninstaller leaves itself.
        [ "$(ls -A "$unix")" = "$UNINSTALLER" ] || fail "$row: left behind: $(find "$unix")"
        rm "$unix/$UNINSTALLER"
        rmdir "$unix"
    fi
    let_go
    if [ "$step" = move-again ]; then
        status=$(status_of wine "$setup" /S /CurrentUser "/D=$moved")
        [ "$status" = 0 ] || fail "$row: the same move again: status $status"
        expect_installed user 1.0 "$moved"
        [ ! -e "$unix" ] || fail "$row: the same move again left $(find "$unix")"
        [[ $(wine reg query "$KEY") != *"$folder"* ]] || fail "$row: the entry still names $folder"
    fi
    if [ "$step$code" != uninstall0 ]; then
        uninstall user "$named"
    fi
    uninstalled user "$(winepath -u "$named")"
    for left in "$unix" "$(winepath -u "$moved")"; do
        [ ! -e "$left" ] || fail "$row: left behind: $(find "$left")"
    done
done
echo "PASS: a held file"

# The uninstaller removes only plain paths inside its folder: a line of its record with "..", a
# drive, a root or wildcards is skipped, and the uninstall ends with 2; without its record, it
# removes this version's files. Files planted outside the folder, and the user's own inside it,
# stay. Each row starts from the same installed folder, its record's first line replaced.
folder='C:\Records'
unix=$(winepath -u "$folder")
drive=$(winepath -u 'C:\')
wine "$setup" /S "/D=$folder" || fail "records: installer status $?"
cp -a "$unix" "$WORK/installed"
planted="outside.txt windows/system32/victim.dll victim.dat"
for row in '..\outside.txt|2' '..\..\windows\system32\victim.dll|2' '..\*.dat|2' '*.txt|2' \
    'C:\outside.txt|2' '\outside.txt|2' '\\?\C:\outside.txt|2' '..\|2' '|0' 'no record|0'; do
    line=${row%|*}
    rm -rf "$unix"
    cp -a "$WORK/installed" "$unix"
    echo "the user's own" >"$unix/my-notes.txt"
    for file in $planted; do echo planted >"$drive/$file"; done
    if [ "$line" = "no record" ]; then
        rm "$unix/$RECORD"
    else
        { printf '%s\r\n' "$line" && iconv -f UTF-16LE -t UTF-8 "$WORK/installed/$RECORD"; } |
            iconv -f UTF-8 -t UTF-16LE >"$unix/$RECORD"
    fi
    status=$(status_of wine "$unix/$UNINSTALLER" /S "_?=$folder")
    [ "$status" = "${row#*|}" ] || fail "record line '$line': status $status"
    left=$(cd "$unix" && find . -mindepth 1 | LC_ALL=C sort | tr '\n' ' ')
    [ "$left" = "./$UNINSTALLER ./my-notes.txt " ] || fail "record line '$line' left $left"
    for file in $planted; do
        [ -f "$drive/$file" ] || fail "record line '$line' removed C:\\$file"
    done
done
rm -r "$unix"
echo "PASS: only the folder's own files go"

# Folders that work. An entry whose folder cannot be written (its drive is gone) counts as no
# install, and is replaced; /D= still wins.
use_scope user
for folder in - 'C:\Elsewhere'; do
    wine reg add "$KEY" /v InstallLocation /d 'Q:\Apps\V' /f >/dev/null 2>&1
    wine reg add "$KEY" /v DisplayVersion /d 0.9 /f >/dev/null 2>&1
    if [ "$folder" = - ]; then
        folder=$WIN_FOLDER
        status=$(status_of wine "$setup" /S)
    else
        status=$(status_of wine "$setup" /S /CurrentUser "/D=$folder")
    fi
    [ "$status" = 0 ] || fail "over an entry on a drive that is gone, into $folder: status $status"
    expect_installed user 1.0 "$folder"
    uninstall user "$folder"
    uninstalled user "$(winepath -u "$folder")"
done
# /D= wins over the installed copy's folder, in any form a script writes on the command line:
# the copy moves there, the old folder goes once the new one is in place, and one entry is
# left. A folder that is no full path is refused.
wine "$setup" /S || fail "before moving: installer status $?"
from=$WIN_FOLDER
for row in '"/D=C:\Apps\Veyloom Q"|C:\Apps\Veyloom Q' '/D="C:\My Apps"|C:\My Apps' \
    '/D=C:/Apps/Forward/|C:\Apps\Forward' '/D=Apps\Relative|-'; do
    given=${row%|*}
    folder=${row#*|}
    status=$(status_of_line "$next_setup" "/S $given")
    if [ "$folder" = - ]; then
        [ "$status" = 2 ] || fail "$given: status $status"
        expect_installed user 1.0.1 "$from"
        continue
    fi
    [ "$status" = 0 ] || fail "$given: status $status"
    expect_installed user 1.0.1 "$folder"
    left=$(winepath -u "$from")
    [ ! -e "$left" ] || fail "$given: left behind: $(find "$left")"
    from=$folder
done
uninstall user "$from"
uninstalled user "$(winepath -u "$from")"
# A folder holding another program's files: its own uninstall.exe and the user's file stay as
# they were, the entry's size counts only what was installed, and the uninstall leaves them.
# One holding a file of the name of one of ours is refused, and left as it was.
folder='C:\Tools'
unix=$(winepath -u "$folder")
mkdir -p "$unix" "$unix-2"
echo "another program's uninstaller" >"$unix/uninstall.exe"
head -c 300000 /dev/zero >"$unix/my-notes.txt"
echo "another program's Qt" >"$unix-2/Qt6Core.dll"
foreign=$(cd "$unix" && md5sum uninstall.exe my-notes.txt && md5sum ../Tools-2/*)
wine "$setup" /S "/D=$folder" || fail "beside another program's files: installer status $?"
installed=$(cd "$unix" && find . -type f ! -name uninstall.exe ! -name my-notes.txt -printf '%s\n' |
    awk '{ sum += $1 } END { print int((sum + 1023) / 1024) }')
[ "$(($(reg_value "$KEY" EstimatedSize)))" = "$installed" ] \
    || fail "the entry gives the size $(($(reg_value "$KEY" EstimatedSize))) KiB, not $installed"
status=$(status_of wine "$setup" /S "/D=$folder-2")
[ "$status" = 2 ] || fail "over another program's Qt6Core.dll: status $status"
[ "$(reg_value "$KEY" InstallLocation)" = "$folder" ] || fail "the refused install changed the entry"
uninstall user "$folder"
uninstalled user "$unix"
[ "$(cd "$unix" && md5sum uninstall.exe my-notes.txt && md5sum ../Tools-2/*)" = "$foreign" ] \
    || fail "another program's files changed"
[ "$(ls -A "$unix" | tr '\n' ' ')" = "my-notes.txt uninstall.exe " ] || fail "left behind: $(ls -A "$unix")"
[ "$(ls -A "$unix-2")" = Qt6Core.dll ] || fail "the refused install left $(ls -A "$unix-2")"
echo "PASS: folders that work"

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
